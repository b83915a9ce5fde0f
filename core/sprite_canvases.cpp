#include "core/grp_format.h"

#include <algorithm>

namespace pixmorph {

namespace {

bool inside(int x, int y, int columns, int rows) {
    return x >= 0 && y >= 0 && x < columns && y < rows;
}

} // namespace

FrameCanvas::FrameCanvas() : cells_(static_cast<std::size_t>(kColumns) * kRows, 0) {}

void FrameCanvas::clear() {
    std::fill(cells_.begin(), cells_.end(), std::int16_t{0});
}

std::int16_t FrameCanvas::at(int x, int y) const {
    if (!inside(x, y, kColumns, kRows))
        return 0;
    return cells_[static_cast<std::size_t>(x) * kRows + y];
}

void FrameCanvas::set(int x, int y, std::uint8_t value) {
    if (inside(x, y, kColumns, kRows))
        cells_[static_cast<std::size_t>(x) * kRows + y] = value;
}

IndexImage::IndexImage() : cells_(static_cast<std::size_t>(kSize) * kSize, 0) {}

void IndexImage::clear() {
    std::fill(cells_.begin(), cells_.end(), 0u);
}

std::uint32_t IndexImage::at(int x, int y) const {
    if (!inside(x, y, kSize, kSize))
        return 0;
    return cells_[static_cast<std::size_t>(x) * kSize + y];
}

void IndexImage::set(int x, int y, std::uint32_t value) {
    if (inside(x, y, kSize, kSize))
        cells_[static_cast<std::size_t>(x) * kSize + y] = value;
}

} // namespace pixmorph
