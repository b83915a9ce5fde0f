#include "core/grp_format.h"

#include <algorithm>

namespace pixmorph {

namespace {

// Both canvases keep one column's cells together; nothing outside them has an index.
std::optional<std::size_t> cellIndex(int x, int y, int columns, int rows) {
    if (x < 0 || y < 0 || x >= columns || y >= rows)
        return std::nullopt;
    return static_cast<std::size_t>(x) * rows + y;
}

} // namespace

FrameCanvas::FrameCanvas() : cells_(static_cast<std::size_t>(kColumns) * kRows, 0) {}

void FrameCanvas::clear() {
    std::fill(cells_.begin(), cells_.end(), std::int16_t{0});
}

std::int16_t FrameCanvas::at(int x, int y) const {
    const auto index = cellIndex(x, y, kColumns, kRows);
    return index ? cells_[*index] : std::int16_t{0};
}

void FrameCanvas::set(int x, int y, std::uint8_t value) {
    if (const auto index = cellIndex(x, y, kColumns, kRows))
        cells_[*index] = value;
}

IndexImage::IndexImage() : cells_(static_cast<std::size_t>(kSize) * kSize, 0) {}

void IndexImage::clear() {
    std::fill(cells_.begin(), cells_.end(), 0u);
}

std::uint32_t IndexImage::at(int x, int y) const {
    const auto index = cellIndex(x, y, kSize, kSize);
    return index ? cells_[*index] : 0u;
}

void IndexImage::set(int x, int y, std::uint32_t value) {
    if (const auto index = cellIndex(x, y, kSize, kSize))
        cells_[*index] = value;
}

} // namespace pixmorph
