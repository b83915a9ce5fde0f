#include "ui/template_dialog.h"

#include "ui/template_builder.h"

#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <qdrawutil.h>

namespace pixmorph::ui {

namespace {

Qt::WindowFlags flagsFor(const WindowTemplate& window) {
    // A window that can be minimised is the program's own window, not a dialog over another:
    // the desktop lists it and lets it be minimised.
    Qt::WindowFlags flags =
        ((window.style & kMinimiseBox) ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
    if (!(window.style & kCaption))
        return flags | Qt::FramelessWindowHint;
    flags |= Qt::WindowTitleHint;
    if (window.style & kSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (window.style & kMinimiseBox)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

bool drawsOwnFrame(const WindowTemplate& window) {
    return !(window.style & kCaption) && (window.style & kModalFrame);
}

} // namespace

TemplateDialog::TemplateDialog(const WindowTemplate& window, QWidget* parent)
    : QDialog(parent, flagsFor(window)), template_(window) {
    setWindowTitle(QString::fromUtf8(window.title));
    setFont(dialogFont());
    const int frame = drawsOwnFrame(window) ? kModalFrameWidth : 0;
    client_ = frame ? new QWidget(this) : this;
    if (frame)
        client_->setGeometry(frame, frame, clientSize(window).width(), clientSize(window).height());
    setFixedSize(clientSize(window) + QSize(2 * frame, 2 * frame));
    for (const auto& [id, widget] : buildControls(*client_, window.controls))
        if (id != kNoId)
            controls_.emplace(id, widget);
}

QWidget* TemplateDialog::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void TemplateDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!drawsOwnFrame(template_))
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    qDrawWinPanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false);
}

void TemplateDialog::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        QRect area;
        if (owner && owner->isVisible())
            area = owner->frameGeometry();
        else if (const QScreen* screen = this->screen())
            area = screen->availableGeometry();
        if (area.isValid())
            move(area.center() - rect().center());
    }
    QDialog::showEvent(event);
}

} // namespace pixmorph::ui
