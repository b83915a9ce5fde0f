#include "core/bmp_file.h"
#include "core/byte_runs.h"

#include <algorithm>
#include <array>
#include <cstring>

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

std::array<std::uint8_t, 4 * 256> paletteBytes(const Palette& palette) {
    std::array<std::uint8_t, 4 * 256> bytes;
    std::uint8_t* at = bytes.data();
    for (const std::uint32_t colour : palette.entries) {
        *at++ = Palette::blue(colour);
        *at++ = Palette::green(colour);
        *at++ = Palette::red(colour);
        *at++ = 0;
    }
    return bytes;
}

void appendPalette(ByteVector& out, const Palette& palette) {
    // An export writes every frame with one palette, so its bytes are put together once.
    thread_local Palette last;
    thread_local std::array<std::uint8_t, 4 * 256> bytes = paletteBytes(last);
    if (!(last == palette)) {
        bytes = paletteBytes(palette);
        last = palette;
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The most one row takes: a pair per pixel, one more past the width, and the row's end.
constexpr std::size_t kMostRowBytes = 2 * kMaxPictureSize + 6;

// Transparent pairs of two pixels, copied as many at a time as a row holds.
constexpr auto kTransparentPairs = [] {
    std::array<std::uint8_t, kMostRowBytes> pairs{};
    for (std::size_t i = 0; i < pairs.size(); i += 2)
        pairs[i] = 2;
    return pairs;
}();

// Encodes one canvas row as count/index pairs and returns the end of what it wrote.
// Transparent runs go in pairs of at most two pixels, a transparent run reaching past the width
// is written up to the width and then as one more short pair, and coloured runs are not cut at
// the width (only at the canvas's edge): files written this way are what the rest of the tool
// chain expects, byte for byte.
std::uint8_t* encodeRow(const std::uint8_t* cells, int width, std::uint8_t* out) {
    auto pair = [&out](int count, std::uint8_t value) {
        *out++ = static_cast<std::uint8_t>(count);
        *out++ = value;
    };
    int p = 0;
    while (p < width) {
        const std::uint8_t v = cells[p];
        if (v == 0) {
            // Past the width only whether two more transparent cells follow matters.
            int n = byteRunLength(cells, p, std::min(width + 2, kMaxPictureSize), 0);
            if (n > width - p) {
                pair(width - p, 0);
                n = std::min(n - (width - p), 2);
                p = width;
            } else {
                // Two pixels a pair, all but the last pair at once.
                const int fullPairs = (n - 1) / 2;
                std::memcpy(out, kTransparentPairs.data(), 2 * static_cast<std::size_t>(fullPairs));
                out += 2 * fullPairs;
                n -= 2 * fullPairs;
                p += 2 * fullPairs;
            }
            pair(n, 0);
            p += n;
        } else {
            // Most coloured runs of a noisy picture are one pixel long.
            const bool single = p + 1 < kMaxPictureSize && cells[p + 1] != v;
            int n = single ? 1 : byteRunLength(cells, p, kMaxPictureSize, v);
            if (n > 254) {
                pair(254, v);
                n = std::min(n - 254, 2);
                p += 254;
            }
            pair(n, v);
            p += n;
        }
    }
    return out;
}

} // namespace

std::uint64_t mostFrameBmpBytes(int width, int height) {
    // A row takes at most a pair per pixel, one more past the width, and the row's end.
    const auto rowBytes = 2 * static_cast<std::uint64_t>(std::max(width, 0)) + 6 + 2;
    return kPixelDataOffset + static_cast<std::uint64_t>(std::max(height, 0)) * rowBytes;
}

ByteVector encodeFrameBmp(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height) {
    if (width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize)
        return {};
    // The rows are written through a pointer into room for the most they can take, kept from
    // call to call, and then copied out at their length.
    thread_local std::vector<std::uint8_t> rows(kMostRowBytes * kMaxPictureSize);
    std::uint8_t* end = rows.data();
    // Rows the frame did not reach are blank, and a blank row's pairs depend on the width
    // alone: they are encoded once and copied.
    std::array<std::uint8_t, kMostRowBytes> blank;
    std::size_t blankSize = 0;
    for (int y = height; y >= 1; --y) {
        if (canvas.rowDrawn(y)) {
            end = encodeRow(canvas.row(y), width, end);
        } else {
            if (blankSize == 0)
                blankSize = static_cast<std::size_t>(
                    encodeRow(ExportCanvas::blankRow().data(), width, blank.data()) - blank.data());
            std::memcpy(end, blank.data(), blankSize);
            end += blankSize;
        }
        *end++ = 0;
        *end++ = y == 1 ? 1 : 0; // end of picture after the top row, else end of row
    }
    ByteVector out;
    out.reserve(kPixelDataOffset + static_cast<std::size_t>(end - rows.data()));
    appendHeaders(out, width, height);
    appendPalette(out, palette);
    out.insert(out.end(), rows.data(), end);
    putU32(out, kFileSizeField, static_cast<std::uint32_t>(out.size()));
    putU32(out, kImageSizeField, static_cast<std::uint32_t>(out.size() - kPixelDataOffset));
    return out;
}

} // namespace pixmorph
