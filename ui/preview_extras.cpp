#include "ui/preview_extras.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "ui/large_preview_window.h"

#include <QMenu>

namespace pixmorph::ui {

PreviewExtras::PreviewExtras(ConverterState& state, WindowOps& window, MainWindowLogic& logic,
                             QWidget& owner)
    : state_(state), logic_(logic), owner_(owner), playback_(state, window, timer_) {
    QObject::connect(&timer_.timer, &QTimer::timeout, &owner, [this] {
        playback_.tick();
        afterCommand();
    });
}

void PreviewExtras::beforeCommand(int id) {
    if (commandStopsPlayback(id))
        playback_.stop();
}

void PreviewExtras::afterCommand() {
    if (large_)
        large_->refresh();
}

void PreviewExtras::addMenuItems(QMenu& menu) {
    playItem_ =
        menu.addAction(QString::fromLatin1(playback_.playing() ? kPauseItemText : kPlayItemText));
    playItem_->setShortcut(QKeySequence(Qt::Key_P));
    largeItem_ = menu.addAction(QString::fromLatin1(kLargePreviewItemText));
}

bool PreviewExtras::handleMenuChoice(QAction* chosen) {
    if (chosen && chosen == playItem_)
        togglePlayback();
    else if (chosen && chosen == largeItem_)
        openLargePreview();
    else
        return false;
    return true;
}

void PreviewExtras::togglePlayback() {
    playback_.toggle();
}

void PreviewExtras::openLargePreview() {
    if (!large_) {
        large_ = new LargePreviewWindow(state_, &owner_);
        QObject::connect(large_, &LargePreviewWindow::stepRequested, &owner_, [this](int step) {
            const int id = step < 0 ? ids::kPreviousFrame : ids::kNextFrame;
            beforeCommand(id);
            logic_.command(id);
            afterCommand();
        });
        QObject::connect(large_, &LargePreviewWindow::playRequested, &owner_,
                         [this] { togglePlayback(); });
    }
    large_->refresh();
    large_->show();
    large_->raise();
    large_->activateWindow();
}

} // namespace pixmorph::ui
