#pragma once
// The sorted drop-down list of the archive's sprite names. It reports every close-up of its
// list, whether the choice changed or not: that is when the main window extracts the choice.

#include <QComboBox>
#include <string>

namespace pixmorph::ui {

class ArchiveList : public QComboBox {
    Q_OBJECT
public:
    explicit ArchiveList(QWidget* parent = nullptr);

    // Inserts the archive name in case-blind alphabetical order, after any equal names. The
    // list shows it as UTF-8, or byte for byte as Latin-1 when it is not UTF-8, and keeps its
    // bytes: the pick extracts the very name the archive answered to.
    void addSorted(const std::string& name);
    // The bytes of the current entry's name; empty when none is current.
    std::string currentName() const;

    void hidePopup() override;

signals:
    // Queued after the list has closed, so the clicked item is already the current one.
    void closedUp();
};

} // namespace pixmorph::ui
