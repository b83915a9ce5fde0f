#pragma once
// Playing a sprite's frames in the preview: one frame a tick at the game's own pace, wrapping at
// the end, the frame field following as if `>` were pressed. A timer of the platform drives it.

#include "app/window_ops.h"

#include <cstdint>

namespace pixmorph {

struct ConverterState;

// The game's fastest speed: 24 frames a second.
inline constexpr int kPlaybackIntervalMs = 1000 / 24;

class PlaybackTimer {
public:
    virtual ~PlaybackTimer() = default;
    // Calls back (Playback::tick) every intervalMs until stopped.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// The frame after `current` in a sprite of `count` frames: the first after the last.
std::int32_t nextFrameWrapping(std::int32_t current, std::int32_t count);

// Whether a command of the main window stops playback: every navigation button and every way of
// loading another sprite.
bool commandStopsPlayback(int commandId);

class Playback {
public:
    Playback(ConverterState& state, const FrameWindow& window, PlaybackTimer& timer)
        : state_(state), window_(window), timer_(timer) {}

    bool playing() const { return playing_; }
    // Starts when stopped and a sprite with frames is shown; stops when playing.
    void toggle();
    void stop();
    // Shows the next frame; a sprite that has lost its frames (or its file) stops playback.
    void tick();

private:
    ConverterState& state_;
    FrameWindow window_;
    PlaybackTimer& timer_;
    bool playing_ = false;
    bool inTick_ = false;
};

} // namespace pixmorph
