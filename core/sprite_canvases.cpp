#include "core/grp_format.h"

#include <algorithm>

namespace pixmorph {

FrameCanvas::FrameCanvas() : cells_(static_cast<std::size_t>(kColumns) * kRows, 0) {}

void FrameCanvas::clear() {
    std::fill(cells_.begin(), cells_.end(), std::int16_t{0});
}

IndexImage::IndexImage() : cells_(static_cast<std::size_t>(kSize) * kSize, 0) {}

void IndexImage::clear() {
    std::fill(cells_.begin(), cells_.end(), 0u);
}

} // namespace pixmorph
