#pragma once
// BMP files: the export writes 8-bit run-length (BI_RLE8) pictures from an ExportCanvas; the
// compile reads RLE8, uncompressed 8-bit and 24/32-bit pictures into an IndexImage.

#include "core/bytes.h"
#include "core/grp_format.h"
#include "core/palette.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

inline constexpr int kMaxPictureSize = 256;

// The export's decoded frame: 257 x 257 cells, column by column. Picture row t is canvas row
// t + 1; column 256 and row 256 are the sentinel that ends a scan along a row. Row 256 is also
// the bottom picture row of a 256-row sprite: the writer reads its undrawn cells as transparent.
class ExportCanvas {
public:
    static constexpr int kSize = 257;
    static constexpr std::int16_t kSentinel = 999;

    ExportCanvas();
    void clear();
    // The sentinel outside the grid, so a scan always ends.
    std::int16_t at(int column, int row) const {
        if (column < 0 || column >= kSize || row < 0 || row >= kSize)
            return kSentinel;
        return cells_[static_cast<std::size_t>(column) * kSize + row];
    }
    // Pixels go to columns 0-255 and rows 0-256; anything else (the sentinel column included)
    // is dropped and marks the canvas as overflowed.
    void set(int column, int row, std::uint8_t value) {
        if (column < 0 || column >= kMaxPictureSize || row < 0 || row >= kSize) {
            overflowed_ = true;
            return;
        }
        cells_[static_cast<std::size_t>(column) * kSize + row] = value;
        firstDrawnColumn_ = std::min(firstDrawnColumn_, column);
        lastDrawnColumn_ = std::max(lastDrawnColumn_, column);
    }
    // Whether any pixel was dropped since the last clear (a frame reaching outside).
    bool overflowed() const { return overflowed_; }

private:
    std::vector<std::int16_t> cells_;
    bool overflowed_ = false;
    // The columns drawn on since the last clear: a clear restores only those, since a frame
    // usually covers a small part of the canvas.
    int firstDrawnColumn_ = 0;
    int lastDrawnColumn_ = kSize - 1;
};

// Clears the canvas and decodes a frame of the sprite into it at its offsets (picture rows from
// canvas row 1).
DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas);

// The bytes of one frame's BMP file: headers, the 1024-byte palette, RLE8 rows bottom-up.
// width and height are the sprite's, 1 to 256 each; other sizes give an empty result, since
// no viewer opens a picture without pixels.
ByteVector encodeFrameBmp(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height);

enum class BmpReadStatus {
    ok,
    unsupportedFormat, // compression other than RLE8/RGB, or an uncompressed bit count we refuse
    tooLarge,          // wider or taller than kMaxPictureSize
    truncated,         // headers cut short
};

struct BmpReadResult {
    BmpReadStatus status = BmpReadStatus::ok;
    int width = 0;
    int height = 0;             // as a positive number of rows
    bool dataTruncated = false; // the pixel data ended early; the image keeps what was read
};

// Clears the image and reads the picture into it: RLE8, or uncompressed 8-bit (indices), 24- or
// 32-bit (colours matched to the palette through `nearest`); bottom-up or top-down. Pixel
// values of 8-bit pictures are palette indices as they stand: their colour table is not read.
// Cells outside the picture are dropped; the data may end early (see dataTruncated).
BmpReadResult readBmp(Bytes file, NearestColour& nearest, IndexImage& image);

// The message for a picture that was not read (empty for ok), naming the file.
std::string bmpReadMessage(BmpReadStatus status, std::string_view fileName);

} // namespace pixmorph
