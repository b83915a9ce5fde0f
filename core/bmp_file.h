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

// The export's decoded frame: 257 x 257 cells. Picture row t is canvas row t + 1; column 256
// and row 256 are the sentinel that ends a scan along a row. Row 256 is also the bottom picture
// row of a 256-row sprite: the writer reads its undrawn cells as transparent. The cells are
// kept row by row, since both the decoder and the writer work along rows.
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
        return cells_[static_cast<std::size_t>(row) * kSize + column];
    }
    // The kSize cells of a row, 0 to 256 (the caller keeps the row within the canvas).
    const std::int16_t* row(int row) const {
        return cells_.data() + static_cast<std::size_t>(row) * kSize;
    }
    // Pixels go to columns 0-255 and rows 0-256; anything else (the sentinel column included)
    // is dropped and marks the canvas as overflowed.
    void set(int column, int row, std::uint8_t value) { setRepeat(column, row, value, 1); }
    // The same for a run along a row: count copies of value, or the count values given.
    void setRepeat(int column, int row, std::uint8_t value, int count) {
        const Run run = runCells(column, row, count);
        std::fill_n(run.cells, run.count, std::int16_t{value});
    }
    void setLiteral(int column, int row, const std::uint8_t* values, int count) {
        const Run run = runCells(column, row, count);
        std::copy_n(values + run.skipped, run.count, run.cells);
    }
    // Whether any pixel was dropped since the last clear (a frame reaching outside).
    bool overflowed() const { return overflowed_; }

    // The box drawn on since the last clear; every picture cell outside it is 0.
    struct DrawnBox {
        int firstColumn, lastColumn, firstRow, lastRow;
        bool holdsRow(int row) const { return row >= firstRow && row <= lastRow; }
    };
    DrawnBox drawn() const {
        return {firstDrawnColumn_, lastDrawnColumn_, firstDrawnRow_, lastDrawnRow_};
    }

private:
    // The part of a run that lies in the picture: its cells, how many pixels of the run come
    // before it, and its length. The drawn box grows to hold it.
    struct Run {
        std::int16_t* cells = nullptr;
        int skipped = 0;
        int count = 0;
    };
    Run runCells(int column, int row, int count) {
        if (count <= 0)
            return {};
        const int from = std::max(column, 0);
        const int end = std::min(column + count, kMaxPictureSize);
        const bool rowInside = row >= 0 && row < kSize;
        if (!rowInside || from != column || end != column + count)
            overflowed_ = true;
        if (!rowInside || from >= end)
            return {};
        growDrawnBox(from, end - 1, row);
        return {cells_.data() + static_cast<std::size_t>(row) * kSize + from, from - column,
                end - from};
    }
    void growDrawnBox(int firstColumn, int lastColumn, int row) {
        firstDrawnColumn_ = std::min(firstDrawnColumn_, firstColumn);
        lastDrawnColumn_ = std::max(lastDrawnColumn_, lastColumn);
        firstDrawnRow_ = std::min(firstDrawnRow_, row);
        lastDrawnRow_ = std::max(lastDrawnRow_, row);
    }

    std::vector<std::int16_t> cells_;
    bool overflowed_ = false;
    // A clear restores only the drawn box, since a frame usually covers a small part of the
    // canvas.
    int firstDrawnColumn_ = 0;
    int lastDrawnColumn_ = kSize - 1;
    int firstDrawnRow_ = 0;
    int lastDrawnRow_ = kSize - 1;
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
    badHeaders,        // a negative width, or pixel data said to start inside the headers
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
