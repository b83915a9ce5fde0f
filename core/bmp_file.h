#pragma once
// BMP files: the export writes 8-bit run-length (BI_RLE8) pictures from an ExportCanvas; the
// compile reads RLE8, uncompressed 8-bit and 24/32-bit pictures into an IndexImage.

#include "core/bytes.h"
#include "core/grp_format.h"
#include "core/palette.h"

#include <cstdint>

namespace pixmorph {

inline constexpr int kMaxPictureSize = 256;

// The export's decoded frame: 257 x 257 cells, column by column. Picture row t is canvas row
// t + 1; column 256 and row 256 are the sentinel that ends a scan along a row.
class ExportCanvas {
public:
    static constexpr int kSize = 257;
    static constexpr std::int16_t kSentinel = 999;

    ExportCanvas();
    void clear();
    std::int16_t at(int column, int row) const;
    // Dropped outside the canvas.
    void set(int column, int row, std::uint8_t value);
    // Whether any pixel was dropped since the last clear (a frame reaching outside).
    bool overflowed() const { return overflowed_; }

private:
    std::vector<std::int16_t> cells_;
    bool overflowed_ = false;
};

// Decodes a frame of the sprite into the canvas at its offsets (picture rows from canvas row 1).
DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas);

// The bytes of one frame's BMP file: headers, the 1024-byte palette, RLE8 rows bottom-up.
// width and height are the sprite's, 1 to 256 each.
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
    int height = 0; // as a positive number of rows
    bool dataTruncated = false; // the pixel data ended early; the image keeps what was read
};

// Clears the image and reads the picture into it. 24- and 32-bit pixels are matched to the
// palette through `nearest`.
BmpReadResult readBmp(Bytes file, NearestColour& nearest, IndexImage& image);

} // namespace pixmorph
