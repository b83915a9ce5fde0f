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
class RowEncoder {
public:
    // The cells up to two past the width are gathered once (the canvas keeps columns, not
    // rows, contiguous); only a coloured run that passes them reads further.
    RowEncoder(const ExportCanvas& canvas, int row, int width, ByteVector& out)
        : canvas_(canvas), row_(row), width_(width),
          gathered_(std::min(width + 2, ExportCanvas::kSize)), out_(out) {
        for (int column = 0; column < gathered_; ++column)
            cells_[column] = canvasCell(column);
    }

    void encode() {
        int p = 0;
        while (p < width_) {
            const int v = cell(p);
            if (v == ExportCanvas::kSentinel)
                return;
            // Past the width only whether two more transparent cells follow matters.
            int n = runLength(p, v, v == 0 ? width_ - p + 2 : ExportCanvas::kSize);
            if (v == 0) {
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
            } else {
                if (n > 254) {
                    pair(254, v);
                    n = std::min(n - 254, 2);
                    p += 254;
                }
                pair(n, cell(p));
            }
            p += n;
        }
    }

private:
    // The sentinel row is the bottom picture row of a 256-row sprite: its cells that the frame
    // did not draw are transparent, so that row keeps every pixel. Only the sentinel column
    // ends a row.
    int canvasCell(int column) const {
        const int value = canvas_.at(column, row_);
        if (value == ExportCanvas::kSentinel && column < ExportCanvas::kSize - 1)
            return 0;
        return value;
    }

    int cell(int column) const { return column < gathered_ ? cells_[column] : canvasCell(column); }

    // The cells equal to value from column from on, counting at most limit of them.
    int runLength(int from, int value, int limit) const {
        int n = 0;
        while (n < limit && cell(from + n) == value)
            ++n;
        return n;
    }

    void pair(int count, int value) {
        out_.push_back(static_cast<std::uint8_t>(count));
        out_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }

    const ExportCanvas& canvas_;
    int row_;
    int width_;
    int gathered_;
    std::array<std::int16_t, ExportCanvas::kSize> cells_;
    ByteVector& out_;
};

} // namespace

ByteVector encodeFrameBmp(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height) {
    if (width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize)
        return {};
    ByteVector out;
    out.reserve(kPixelDataOffset + static_cast<std::size_t>(width + 4) * height);
    appendHeaders(out, width, height);
    appendPalette(out, palette);
    for (int row = height; row >= 1; --row) {
        RowEncoder(canvas, row, width, out).encode();
        out.push_back(0);
        out.push_back(row == 1 ? 1 : 0); // end of picture after the top row, else end of row
    }
    putU32(out, kFileSizeField, static_cast<std::uint32_t>(out.size()));
    putU32(out, kImageSizeField, static_cast<std::uint32_t>(out.size() - kPixelDataOffset));
    return out;
}

} // namespace pixmorph
