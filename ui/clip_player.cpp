#include "ui/clip_player.h"

#include <QPainter>
#include <algorithm>

namespace pixmorph::ui {

ClipPlayer::ClipPlayer(QWidget* parent, bool centred, bool bordered)
    : QWidget(parent), centred_(centred), bordered_(bordered) {
    connect(&timer_, &QTimer::timeout, this, &ClipPlayer::advance);
}

bool ClipPlayer::open(int resource) {
    timer_.stop();
    clip_ = clipResource(resource);
    resource_ = clip_.frames.empty() ? 0 : resource;
    current_ = 0;
    update();
    return resource_ != 0;
}

void ClipPlayer::play(int fromFrame, int toFrame, int repeatCount) {
    if (clip_.frames.empty())
        return;
    const int last = frameCount() - 1;
    from_ = std::clamp(fromFrame, 0, last);
    to_ = toFrame < 0 ? last : std::clamp(toFrame, from_, last);
    repeatsLeft_ = repeatCount;
    timer_.stop();
    display(from_);
    if (repeatCount == 0 || from_ == to_)
        return;
    timer_.start(1000 / std::max(1, clip_.framesPerSecond));
}

void ClipPlayer::stop() {
    timer_.stop();
}

void ClipPlayer::advance() {
    if (current_ < to_) {
        display(current_ + 1);
        return;
    }
    if (repeatsLeft_ > 0 && --repeatsLeft_ == 0) {
        timer_.stop();
        return;
    }
    display(from_);
}

void ClipPlayer::display(int frame) {
    current_ = frame;
    update();
}

void ClipPlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (bordered_) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (clip_.frames.empty())
        return;
    const QImage& frame = clip_.frames[static_cast<std::size_t>(current_)];
    QPoint at(bordered_ ? 1 : 0, bordered_ ? 1 : 0);
    if (centred_)
        at = QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2);
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    painter.drawImage(at, frame);
}

} // namespace pixmorph::ui
