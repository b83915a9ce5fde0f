#include "core/bmp_file.h"
#include "core/byte_runs.h"

#include <algorithm>
#include <array>
#include <bit>
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

void appendPalette(ByteVector& out, const Palette& palette) {
    // An export writes every frame with one palette, so its bytes are put together once.
    thread_local Palette last;
    thread_local std::array<std::uint8_t, 4 * 256> bytes{};
    thread_local bool ready = false;
    if (!ready || !(last == palette)) {
        std::uint8_t* at = bytes.data();
        for (const std::uint32_t colour : palette.entries) {
            *at++ = Palette::blue(colour);
            *at++ = Palette::green(colour);
            *at++ = Palette::red(colour);
            *at++ = 0;
        }
        last = palette;
        ready = true;
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The most one row takes: a pair per pixel, one more past the width, and the row's end.
constexpr std::size_t kMostRowBytes = 2 * kMaxPictureSize + 6;
// Room past the rows' end for the 16-byte stores of writeSinglePixelPairs.
constexpr std::size_t kStoreSlack = 16;

// The number of one-pixel coloured runs in a row from cells[p] on (at most eight), and writes
// their pairs; cells[p] must start a run and cells[p + 8] lie in the row. Noisy pictures are
// mostly such runs, and a test per pixel made every pixel a branch the processor could not
// foresee.
int writeSinglePixelPairs(const std::uint8_t* cells, std::uint8_t*& out) {
    if constexpr (std::endian::native != std::endian::little) {
        return 0;
    } else {
        std::uint64_t here;
        std::uint64_t next;
        std::memcpy(&here, cells, 8);
        std::memcpy(&next, cells + 1, 8);
        // A byte's top bit is set where the byte is 0; borrows make false marks only above
        // a true one, so the lowest mark is exact.
        auto zeroBytes = [](std::uint64_t word) {
            return (word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull;
        };
        // Single: coloured, and unlike the next cell.
        const std::uint64_t notSingle = zeroBytes(here) | zeroBytes(here ^ next);
        const int count = notSingle == 0 ? 8 : std::countr_zero(notSingle) / 8;
        // Pairs (1, value) for four cells at a time: each value spread into the odd bytes.
        auto pairsOf = [](std::uint64_t four) {
            four = (four | (four << 16)) & 0x0000FFFF0000FFFFull;
            four = (four | (four << 8)) & 0x00FF00FF00FF00FFull;
            return (four << 8) | 0x0001000100010001ull;
        };
        const std::uint64_t low = pairsOf(here & 0xFFFFFFFFull);
        const std::uint64_t high = pairsOf(here >> 32);
        std::memcpy(out, &low, 8);
        std::memcpy(out + 8, &high, 8);
        out += 2 * count;
        return count;
    }
}

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
            // Most coloured runs of a noisy picture are one pixel long, and come in stretches.
            const bool single = p + 1 < kMaxPictureSize && cells[p + 1] != v;
            if (single && p + 9 <= kMaxPictureSize) {
                std::uint8_t* const before = out;
                // Runs starting past the width are not written.
                const int kept = std::min(writeSinglePixelPairs(cells + p, out), width - p);
                if (kept > 0) {
                    out = before + 2 * kept;
                    p += kept;
                    continue;
                }
                out = before;
            }
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

ByteVector encodeFrameBmp(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height) {
    if (width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize)
        return {};
    // The rows are written through a pointer into room for the most they can take, kept from
    // call to call, and then copied out at their length.
    thread_local std::vector<std::uint8_t> rows(kMostRowBytes * kMaxPictureSize + kStoreSlack);
    std::uint8_t* end = rows.data();
    // Rows the frame did not reach are blank, and a blank row's pairs depend on the width
    // alone: they are encoded once and copied.
    std::array<std::uint8_t, kMostRowBytes + kStoreSlack> blank;
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
