#include "core/bmp_file.h"

#include <algorithm>
#include <array>

namespace pixmorph {
namespace {

constexpr std::uint32_t kPixelDataOffset = 14 + 40 + 1024;
constexpr std::size_t kFileSizeField = 2;
constexpr std::size_t kImageSizeField = 34;
constexpr std::uint32_t kPixelsPerMetre = 2834; // 72 dots per inch
constexpr std::uint32_t kRle8 = 1;

void appendHeaders(ByteVector& out, int width, int height) {
    out.push_back('B');
    out.push_back('M');
    appendU32(out, 0); // file size, set when the pixel data is complete
    appendU16(out, 0);
    appendU16(out, 0);
    appendU32(out, kPixelDataOffset);
    appendU32(out, 40);
    appendU32(out, static_cast<std::uint32_t>(width));
    appendU32(out, static_cast<std::uint32_t>(height)); // positive: bottom row first
    appendU16(out, 1);
    appendU16(out, 8);
    appendU32(out, kRle8);
    appendU32(out, 0); // pixel data size, set with the file size
    appendU32(out, kPixelsPerMetre);
    appendU32(out, kPixelsPerMetre);
    appendU32(out, 256);
    appendU32(out, 256);
}

void appendPalette(ByteVector& out, const Palette& palette) {
    for (const std::uint32_t colour : palette.entries) {
        out.push_back(Palette::blue(colour));
        out.push_back(Palette::green(colour));
        out.push_back(Palette::red(colour));
        out.push_back(0);
    }
}

// Encodes one canvas row as count/index pairs. Transparent runs go in pairs of at most two
// pixels, a transparent run reaching past the width is written up to the width and then as one
// more short pair, and coloured runs are not cut at the width: files written this way are what
// the rest of the tool chain expects, byte for byte.
//
// Cells outside the frame's drawn box are known to be 0, so the transparent runs around the
// frame cost a step each rather than a step per pixel. Every row ends in the sentinel column,
// which stops every run.
class RowEncoder {
public:
    RowEncoder(const ExportCanvas& canvas, const ExportCanvas::DrawnBox& drawn, int row, int width)
        : cells_(canvas.row(row)), width_(width) {
        if (drawn.holdsRow(row)) {
            firstDrawn_ = drawn.firstColumn;
            lastDrawn_ = drawn.lastColumn;
        }
        // The sentinel row is the bottom picture row of a 256-row sprite: its cells that the
        // frame did not draw are transparent, so that row keeps every pixel.
        if (row == ExportCanvas::kSize - 1) {
            for (int column = 0; column < kMaxPictureSize; ++column)
                sentinelRow_[column] =
                    cells_[column] == ExportCanvas::kSentinel ? std::int16_t{0} : cells_[column];
            sentinelRow_[kMaxPictureSize] = ExportCanvas::kSentinel;
            cells_ = sentinelRow_.data();
        }
    }

    // Returns the end of what it wrote. Locals, not members, carry the cells and the output
    // position: the byte stores could otherwise alias them and force a reload per pair.
    std::uint8_t* encode(std::uint8_t* out) const {
        const std::int16_t* const cells = cells_;
        auto pair = [&out](int count, int value) {
            *out++ = static_cast<std::uint8_t>(count);
            *out++ = static_cast<std::uint8_t>(value & 0xFF);
        };
        int p = 0;
        while (p < width_) {
            const int v = cells[p];
            if (v == 0) {
                // Past the width only whether two more transparent cells follow matters.
                int n = transparentRun(p, width_ - p + 2);
                if (n > width_ - p) {
                    pair(width_ - p, 0);
                    n = std::min(n - (width_ - p), 2);
                    p = width_;
                } else {
                    // Two pixels a pair; the run is counted once, not again after every pair.
                    for (; n > 2; n -= 2, p += 2)
                        pair(2, 0);
                }
                pair(n, 0);
                p += n;
            } else {
                int n = 1;
                while (cells[p + n] == v)
                    ++n;
                if (n > 254) {
                    pair(254, v);
                    n = std::min(n - 254, 2);
                    p += 254;
                }
                pair(n, cells[p]);
                p += n;
            }
        }
        return out;
    }

private:
    // The transparent cells from column on, counting at most limit of them.
    int transparentRun(int column, int limit) const {
        int n = 0;
        while (n < limit && column < kMaxPictureSize) {
            if (column < firstDrawn_ || column > lastDrawn_) {
                // Undrawn cells up to the drawn box or the sentinel column, in one step.
                const int end = column < firstDrawn_ ? firstDrawn_ : kMaxPictureSize;
                const int step = std::min(end - column, limit - n);
                n += step;
                column += step;
            } else if (cells_[column] == 0) {
                ++n;
                ++column;
            } else {
                break;
            }
        }
        return n;
    }

    const std::int16_t* cells_;
    int width_;
    int firstDrawn_ = 0;
    int lastDrawn_ = -1;
    std::array<std::int16_t, ExportCanvas::kSize> sentinelRow_;
};

} // namespace

ByteVector encodeFrameBmp(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height) {
    if (width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize)
        return {};
    ByteVector out;
    appendHeaders(out, width, height);
    appendPalette(out, palette);
    // Room for the most a row can take (a pair per pixel, one past the width, the row's end),
    // filled through a pointer and cut to the length written.
    out.resize(kPixelDataOffset + static_cast<std::size_t>(2 * width + 6) * height);
    std::uint8_t* end = out.data() + kPixelDataOffset;
    const ExportCanvas::DrawnBox drawn = canvas.drawn();
    for (int row = height; row >= 1; --row) {
        end = RowEncoder(canvas, drawn, row, width).encode(end);
        *end++ = 0;
        *end++ = row == 1 ? 1 : 0; // end of picture after the top row, else end of row
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
    putU32(out, kFileSizeField, static_cast<std::uint32_t>(out.size()));
    putU32(out, kImageSizeField, static_cast<std::uint32_t>(out.size() - kPixelDataOffset));
    return out;
}

} // namespace pixmorph
