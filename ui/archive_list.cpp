#include "ui/archive_list.h"

#include <QAbstractItemView>

namespace pixmorph::ui {

ArchiveList::ArchiveList(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
}

namespace {

QString shownName(const std::string& name) {
    const QByteArray bytes = QByteArray::fromStdString(name);
    const QString text = QString::fromUtf8(bytes);
    return text.toUtf8() == bytes ? text : QString::fromLatin1(bytes);
}

} // namespace

void ArchiveList::addSorted(const std::string& name) {
    const QString text = shownName(name);
    int index = count();
    for (int i = 0; i < count(); ++i) {
        if (QString::compare(text, itemText(i), Qt::CaseInsensitive) < 0) {
            index = i;
            break;
        }
    }
    insertItem(index, text, QByteArray::fromStdString(name));
}

std::string ArchiveList::currentName() const {
    return currentIndex() < 0 ? std::string() : currentData().toByteArray().toStdString();
}

void ArchiveList::hidePopup() {
    const bool wasOpen = view() && view()->isVisible();
    QComboBox::hidePopup();
    if (wasOpen)
        QMetaObject::invokeMethod(this, &ArchiveList::closedUp, Qt::QueuedConnection);
}

} // namespace pixmorph::ui
