#pragma once
// The large preview: a resizable window showing the main window's current frame zoomed, over a
// checkerboard where index 0 is transparent. Arrow keys and Space are the main window's to act
// on; the wheel and + / - zoom.

#include "app/large_preview.h"

#include <QImage>
#include <QWidget>

namespace pixmorph {
struct ConverterState;
}

namespace pixmorph::ui {

class LargePreviewWindow : public QWidget {
    Q_OBJECT
public:
    LargePreviewWindow(const ConverterState& state, QWidget* owner);
    ~LargePreviewWindow() override;

    // Re-reads the frame and palette from the state.
    void refresh();
    int zoom() const { return zoom_; }
    void setZoom(int zoom);
    const QImage& picture() const { return picture_; }

signals:
    void stepRequested(int step);
    void playRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ConverterState& state_;
    QImage picture_;
    int zoom_ = LargePreviewSettings{}.zoom;
};

inline constexpr const char* kLargePreviewTitle = "Large Preview";

} // namespace pixmorph::ui
