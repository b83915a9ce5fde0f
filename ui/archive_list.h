#pragma once
// The sorted drop-down list of the archive's sprite names. It reports every close-up of its
// list, whether the choice changed or not: that is when the main window extracts the choice.

#include <QComboBox>

namespace pixmorph::ui {

class ArchiveList : public QComboBox {
    Q_OBJECT
public:
    explicit ArchiveList(QWidget* parent = nullptr);

    // Inserts in case-blind alphabetical order, after any equal names.
    void addSorted(const QString& text);

    void hidePopup() override;

signals:
    // Queued after the list has closed, so the clicked item is already the current one.
    void closedUp();
};

} // namespace pixmorph::ui
