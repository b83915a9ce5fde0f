#pragma once
// What the page's preview draws: one sprite's frames in one palette, each as the sprite's
// rectangle of RGBA pixels with index 0 left transparent (the page lays a checkerboard under
// it), decoded by the same code as the desktop's preview.

#include "core/bytes.h"
#include "core/grp_format.h"
#include "core/palette.h"

#include <cstdint>
#include <vector>

namespace pixmorph::web {

class SpriteView {
public:
    // Takes the sprite's bytes; false (and no sprite) when they are too short for a header.
    bool open(ByteVector file);
    void setPalette(const Palette& palette) { palette_ = palette; }

    int frameCount() const { return header_.frameCount; }
    // The rectangle drawn: the sprite's size, within what a frame can reach.
    int width() const;
    int height() const;

    // Draws frame `index` (nothing outside the frame count or the frame table) into pixels(),
    // width() x height() x 4 bytes, rows from the top; the frame's box is frameBox().
    void render(int index);
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    const FrameEntry& frameBox() const { return box_; }

private:
    ByteVector file_;
    SpriteHeader header_;
    SpriteEncoding encoding_ = SpriteEncoding::runLength;
    Palette palette_;
    FrameCanvas canvas_;
    FrameEntry box_;
    std::vector<std::uint8_t> pixels_;
};

} // namespace pixmorph::web
