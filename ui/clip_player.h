#pragma once
// The animation control: plays a clip resource frame by frame on a timer, centred in its area,
// over the window's background.

#include "ui/resources.h"

#include <QTimer>
#include <QWidget>

namespace pixmorph::ui {

class ClipPlayer : public QWidget {
    Q_OBJECT
public:
    ClipPlayer(QWidget* parent, bool centred, bool bordered);

    // Loads the clip and shows its first frame; false for an unknown clip.
    bool open(int resource);
    // Plays from one frame to another (-1: the last) and repeats that many times (-1: without
    // end). A repeat count of 0, or a single frame, just shows the first frame asked for.
    void play(int fromFrame, int toFrame, int repeatCount);
    void stop();

    int resource() const { return resource_; }
    int frameCount() const { return static_cast<int>(clip_.frames.size()); }
    int currentFrame() const { return current_; }
    bool isPlaying() const { return timer_.isActive(); }
    int framesPerSecond() const { return clip_.framesPerSecond; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();
    void display(int frame);

    Clip clip_;
    QTimer timer_;
    bool centred_;
    bool bordered_;
    int resource_ = 0;
    int current_ = 0;
    int from_ = 0;
    int to_ = 0;
    int repeatsLeft_ = 0;
};

} // namespace pixmorph::ui
