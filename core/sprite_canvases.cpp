#include "core/grp_format.h"

#include <algorithm>

namespace pixmorph {

FrameCanvas::FrameCanvas() : cells_(static_cast<std::size_t>(kColumns) * kRows, 0) {}

void FrameCanvas::clear() {
    std::fill(cells_.begin(), cells_.end(), std::int16_t{0});
}

IndexImage::IndexImage()
    : cells_(static_cast<std::size_t>(kSize) * kSize, 0), firstSet_(kSize, kSize),
      lastSet_(kSize, -1) {}

void IndexImage::clear() {
    for (int y = 0; y < rowsUsed_; ++y) {
        if (firstSet_[y] <= lastSet_[y]) {
            const auto row = cells_.begin() + static_cast<std::ptrdiff_t>(y) * kSize;
            std::fill(row + firstSet_[y], row + lastSet_[y] + 1, 0u);
        }
        firstSet_[y] = kSize;
        lastSet_[y] = -1;
    }
    rowsUsed_ = 0;
}

} // namespace pixmorph
