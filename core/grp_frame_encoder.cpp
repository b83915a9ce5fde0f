// Cutting a frame box out of an image and encoding its rows.
#include "core/grp_format.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pixmorph {

namespace {

constexpr int kMaxRun = 63;
constexpr int kLargestField = 255;

} // namespace

FrameBox findFrameBox(const IndexImage& image, int width, int height) {
    // Each row's non-zero cells lie within the extent of the cells set on it, which is usually
    // exactly their span: the scans inward from its ends stop at once.
    const int columns = std::clamp(width, 0, IndexImage::kSize);
    const int rows = std::clamp(height, 0, image.rowsUsed());
    int minX = columns, minY = rows, maxX = -1, maxY = -1;
    for (int y = 0; y < rows; ++y) {
        const std::uint32_t* cells = image.row(y);
        const IndexImage::Extent extent = image.rowExtent(y);
        int first = std::max(extent.first, 0);
        int last = std::min(extent.last, columns - 1);
        while (first <= last && cells[first] == 0)
            ++first;
        while (last >= first && cells[last] == 0)
            --last;
        if (first > last)
            continue;
        minX = std::min(minX, first);
        maxX = std::max(maxX, last);
        minY = std::min(minY, y);
        maxY = y;
    }

    FrameBox box;
    if (maxX < 0) {
        // Nothing to cut: a 1 x 1 box at the corner whose one row is the closing transparent
        // row, which every reader accepts.
        box.empty = true;
        box.entry = FrameEntry{0, 0, 1, 1, 0};
        return box;
    }
    // Every frame ends with one transparent row below its last row of pixels.
    const int boxWidth = maxX - minX + 1;
    const int boxHeight = maxY - minY + 2;
    if (boxWidth > kLargestField || boxHeight > kLargestField)
        box.error = GrpWriteError::boxTooLarge;
    else if (minX > kLargestField || minY > kLargestField)
        box.error = GrpWriteError::offsetTooLarge;
    else
        box.entry = FrameEntry{static_cast<std::uint8_t>(minX), static_cast<std::uint8_t>(minY),
                               static_cast<std::uint8_t>(boxWidth),
                               static_cast<std::uint8_t>(boxHeight), 0};
    return box;
}

namespace {

std::uint8_t byte(std::uint32_t value) {
    return static_cast<std::uint8_t>(value);
}

// The most bytes a row of the box takes: never more than two per cell.
constexpr std::size_t kMostRowBytes = 2 * 256 + 2;

// Encodes one row of the box, given as its cells followed by two zero cells (cells right of the
// box read as 0, so runs end at the box's right edge and a literal run always meets two equal
// cells there). Returns the end of what it wrote.
std::uint8_t* encodeBoxRow(const std::uint32_t* cells, int width, std::uint8_t* out) {
    // Cells equal to the one at x, from x up to the box's right edge.
    auto sameRun = [&](int x) {
        int end = x + 1;
        while (end < width && cells[end] == cells[x])
            ++end;
        return end - x;
    };
    int x = 0;
    while (x < width) {
        const std::uint32_t p = cells[x];
        const std::uint32_t q = cells[x + 1];
        if (p == 0) {
            const int n = sameRun(x);
            for (int left = n; left > 0; left -= kMaxRun)
                *out++ = static_cast<std::uint8_t>(0x80 + std::min(left, kMaxRun));
            x += n;
        } else if (q == 0) {
            *out++ = 0x01;
            *out++ = byte(p);
            x += 1;
        } else if (q == p) {
            const int n = sameRun(x);
            for (int left = n; left > 0; left -= kMaxRun) {
                *out++ = static_cast<std::uint8_t>(0x40 + std::min(left, kMaxRun));
                *out++ = byte(p);
            }
            x += n;
        } else {
            // The cells before the first pair of equal neighbours.
            int k = 2;
            while (cells[x + k] != cells[x + k - 1])
                ++k;
            const int n = k - 1;
            for (int done = 0; done < n; done += kMaxRun) {
                const int count = std::min(n - done, kMaxRun);
                *out++ = static_cast<std::uint8_t>(count);
                for (int i = 0; i < count; ++i)
                    *out++ = byte(cells[x + done + i]);
            }
            x += n;
        }
    }
    return out;
}

} // namespace

EncodedFrame encodeFrameData(const IndexImage& image, const FrameBox& box) {
    EncodedFrame frame;
    if (box.error != GrpWriteError::none) {
        frame.error = box.error;
        return frame;
    }
    const FrameEntry& entry = box.entry;
    frame.data.assign(2 * static_cast<std::size_t>(entry.height), 0);
    std::array<std::uint32_t, 256 + 2> cells{};
    std::array<std::uint8_t, kMostRowBytes> bytes;
    for (int row = 0; row < entry.height; ++row) {
        const std::size_t rowOffset = frame.data.size();
        if (rowOffset > std::numeric_limits<std::uint16_t>::max()) {
            frame.data.clear();
            frame.error = GrpWriteError::rowOffsetOverflow;
            return frame;
        }
        putU16(frame.data, 2 * static_cast<std::size_t>(row),
               static_cast<std::uint16_t>(rowOffset));
        // The row's cells within the image, then zero cells: the closing row is transparent,
        // and two more follow the box's right edge.
        const int y = entry.yOffset + row;
        const bool closing = row == entry.height - 1;
        const int inside = closing || y >= IndexImage::kSize
                               ? 0
                               : std::clamp(IndexImage::kSize - entry.xOffset, 0, int{entry.width});
        std::copy_n(image.row(std::min(y, IndexImage::kSize - 1)) + entry.xOffset, inside,
                    cells.begin());
        std::fill(cells.begin() + inside, cells.begin() + entry.width + 2, 0u);
        std::uint8_t* end = encodeBoxRow(cells.data(), entry.width, bytes.data());
        frame.data.insert(frame.data.end(), bytes.data(), end);
    }
    return frame;
}

} // namespace pixmorph
