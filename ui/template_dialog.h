#pragma once
// A modal window built from its template: title, window decoration, fixed client size, centred
// on its owner (or the screen), and its controls found by id.

#include "ui/templates.h"

#include <QDialog>
#include <map>

namespace pixmorph::ui {

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(const WindowTemplate& window, QWidget* parent);

    const WindowTemplate& windowTemplate() const { return template_; }
    // The area the template's coordinates refer to (inside a drawn frame, when there is one).
    QWidget& client() const { return *client_; }
    QWidget* control(int id) const;
    template <class Widget> Widget* control(int id) const {
        return qobject_cast<Widget*>(control(id));
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const WindowTemplate& template_;
    QWidget* client_ = nullptr;
    std::map<int, QWidget*> controls_;
    bool centred_ = false;
};

// The width of the frame drawn around windows that have no caption.
inline constexpr int kModalFrameWidth = 3;

} // namespace pixmorph::ui
