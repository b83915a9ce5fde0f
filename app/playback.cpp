#include "app/playback.h"

#include "app/control_ids.h"
#include "app/converter_state.h"
#include "app/show_frame.h"
#include "app/window_ops.h"

#include <algorithm>
#include <string>
#include <utility>

namespace pixmorph {

std::int32_t nextFrameWrapping(std::int32_t current, std::int32_t count) {
    if (count <= 0)
        return 0;
    // A frame number outside the sprite (a shorter sprite loaded meanwhile) starts over.
    return current < 0 || current >= count - 1 ? 0 : current + 1;
}

bool commandStopsPlayback(int commandId) {
    constexpr int kStoppers[] = {ids::kPreviousFrame, ids::kNextFrame,        ids::kBackTen,
                                 ids::kForwardTen,    ids::kLoadExternalFile, ids::kArchiveList,
                                 ids::kLocateArchive};
    return std::find(std::begin(kStoppers), std::end(kStoppers), commandId) != std::end(kStoppers);
}

void Playback::toggle() {
    if (playing_) {
        stop();
        return;
    }
    if (state_.shown.frameCount <= 0 || state_.fields.grpNameText.empty())
        return;
    playing_ = true;
    timer_.start(kPlaybackIntervalMs);
}

void Playback::stop() {
    if (!playing_)
        return;
    playing_ = false;
    timer_.stop();
}

void Playback::tick() {
    // A message box shown by a tick runs its own event loop, in which the timer still fires.
    if (!playing_ || inTick_)
        return;
    const std::int32_t count = state_.shown.frameCount;
    if (count <= 0) {
        stop();
        return;
    }
    inTick_ = true;
    const std::int32_t frame = nextFrameWrapping(state_.shown.currentFrame, count);
    // The arrows as `>` leaves them, and `<` again once the frames wrap to the first.
    window_.controls.enableControl(ids::kPreviousFrame, frame > 0);
    window_.controls.enableControl(ids::kNextFrame, frame < count - 1);
    state_.shown.currentFrame = frame;
    state_.fields.frameNumberText = std::to_string(frame);
    state_.refreshControls(window_.controls);
    // showFrame fills the frame count only once it has read the sprite: a file gone or no longer
    // a sprite has been reported once, and playing on would report it every tick.
    const std::string countText = std::exchange(state_.fields.frameCountText, std::string());
    showFrame(state_, window_);
    if (state_.fields.frameCountText.empty()) {
        state_.fields.frameCountText = countText;
        stop();
    }
    inTick_ = false;
}

} // namespace pixmorph
