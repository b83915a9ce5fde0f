#include "ui/archive_list.h"

#include <QAbstractItemView>

namespace pixmorph::ui {

ArchiveList::ArchiveList(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
}

void ArchiveList::addSorted(const QString& text) {
    int index = count();
    for (int i = 0; i < count(); ++i) {
        if (QString::compare(text, itemText(i), Qt::CaseInsensitive) < 0) {
            index = i;
            break;
        }
    }
    insertItem(index, text);
}

void ArchiveList::hidePopup() {
    const bool wasOpen = view() && view()->isVisible();
    QComboBox::hidePopup();
    if (wasOpen)
        QMetaObject::invokeMethod(this, &ArchiveList::closedUp, Qt::QueuedConnection);
}

} // namespace pixmorph::ui
