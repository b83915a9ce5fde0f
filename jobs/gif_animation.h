#pragma once
// The export's animated GIF (through giflib): the frames in order at the sprite's size, in the
// chosen palette, index 0 transparent, looping, at a given number of frames a second.

#include "core/palette.h"
#include "jobs/frame_gathering.h"

#include <memory>
#include <string>

namespace pixmorph {

// The game's fastest pace.
inline constexpr int kDefaultGifFps = 24;
inline constexpr int kMostGifFps = 100; // a GIF counts delays in hundredths of a second

struct GifPlan {
    std::string path;
    int width = 0, height = 0;
    int fps = kDefaultGifFps;
    Palette palette;
};

std::unique_ptr<FrameGathering> makeGifAnimation(const GifPlan& plan);

} // namespace pixmorph
