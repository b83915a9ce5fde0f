// Cutting a frame box out of an image and encoding its rows.
#include "core/grp_format.h"

#include <algorithm>
#include <limits>

namespace pixmorph {

namespace {

constexpr int kMaxRun = 63;
constexpr int kLargestField = 255;

} // namespace

FrameBox findFrameBox(const IndexImage& image, int width, int height) {
    // Cells past those the image used are 0 and need no look.
    const int columns = std::clamp(width, 0, image.columnsUsed());
    const int rows = std::clamp(height, 0, image.rowsUsed());
    int minX = columns, minY = rows, maxX = -1, maxY = -1;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            if (image.at(x, y) != 0) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
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

// One row of the box; cells right of the box and in the closing row read as 0, so runs end at
// the box's right edge and a literal run always meets two equal cells there.
class BoxRow {
public:
    BoxRow(const IndexImage& image, const FrameEntry& box, int row)
        : image_(image), y_(box.yOffset + row), minX_(box.xOffset),
          maxX_(box.xOffset + box.width - 1), closing_(row == box.height - 1) {}

    std::uint32_t cell(int x) const { return closing_ || x > maxX_ ? 0 : image_.at(x, y_); }

    void encode(ByteVector& out) const {
        int x = minX_;
        while (x <= maxX_) {
            const std::uint32_t p = cell(x);
            const std::uint32_t q = cell(x + 1);
            if (p == 0) {
                x += emitSkip(out, sameRun(x));
            } else if (q == 0) {
                out.insert(out.end(), {0x01, byte(p)});
                x += 1;
            } else if (q == p) {
                x += emitRepeat(out, sameRun(x), p);
            } else {
                x += emitLiteral(out, x, literalLength(x));
            }
        }
    }

private:
    static std::uint8_t byte(std::uint32_t value) { return static_cast<std::uint8_t>(value); }

    // Cells equal to the one at x, from x up to the box's right edge.
    int sameRun(int x) const {
        int n = 1;
        while (x + n <= maxX_ && cell(x + n) == cell(x))
            ++n;
        return n;
    }

    // The cells before the first pair of equal neighbours.
    int literalLength(int x) const {
        int k = 2;
        while (cell(x + k) != cell(x + k - 1))
            ++k;
        return k - 1;
    }

    static int emitSkip(ByteVector& out, int n) {
        for (int left = n; left > 0; left -= kMaxRun)
            out.push_back(static_cast<std::uint8_t>(0x80 + std::min(left, kMaxRun)));
        return n;
    }

    static int emitRepeat(ByteVector& out, int n, std::uint32_t p) {
        for (int left = n; left > 0; left -= kMaxRun)
            out.insert(out.end(),
                       {static_cast<std::uint8_t>(0x40 + std::min(left, kMaxRun)), byte(p)});
        return n;
    }

    int emitLiteral(ByteVector& out, int x, int n) const {
        for (int done = 0; done < n; done += kMaxRun) {
            const int count = std::min(n - done, kMaxRun);
            out.push_back(static_cast<std::uint8_t>(count));
            for (int i = 0; i < count; ++i)
                out.push_back(byte(cell(x + done + i)));
        }
        return n;
    }

    const IndexImage& image_;
    int y_, minX_, maxX_;
    bool closing_;
};

} // namespace

EncodedFrame encodeFrameData(const IndexImage& image, const FrameBox& box) {
    EncodedFrame frame;
    if (box.error != GrpWriteError::none) {
        frame.error = box.error;
        return frame;
    }
    const FrameEntry& entry = box.entry;
    frame.data.assign(2 * static_cast<std::size_t>(entry.height), 0);
    for (int row = 0; row < entry.height; ++row) {
        const std::size_t rowOffset = frame.data.size();
        if (rowOffset > std::numeric_limits<std::uint16_t>::max()) {
            frame.data.clear();
            frame.error = GrpWriteError::rowOffsetOverflow;
            return frame;
        }
        putU16(frame.data, 2 * static_cast<std::size_t>(row),
               static_cast<std::uint16_t>(rowOffset));
        BoxRow(image, entry, row).encode(frame.data);
    }
    return frame;
}

} // namespace pixmorph
