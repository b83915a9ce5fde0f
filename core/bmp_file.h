#pragma once
// BMP files: the export writes 8-bit run-length (BI_RLE8) pictures from an ExportCanvas; the
// compile reads RLE8, uncompressed 8-bit and 16/24/32-bit pictures into an IndexImage.

#include "core/bytes.h"
#include "core/grp_format.h"
#include "core/palette.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

inline constexpr int kMaxPictureSize = 256;
// The compile reads pictures up to the size of its working image; their frame boxes must still
// fit a frame's fields.
inline constexpr int kMaxBitmapSize = IndexImage::kSize;

// The export's decoded frame: 256 columns x 257 rows of palette indices. Picture row t is
// canvas row t + 1 (row 256 is the bottom picture row of a 256-row sprite). The cells are kept
// row by row as bytes, since both the decoder and the writer work along rows, a byte at a time
// or a word at a time.
class ExportCanvas {
public:
    static constexpr int kSize = 257;
    static constexpr int kColumns = kMaxPictureSize;

    ExportCanvas();
    void clear();
    // The kColumns cells of a row (the caller keeps the row within the canvas).
    const std::uint8_t* row(int row) const {
        return cells_.data() + static_cast<std::size_t>(row) * kColumns;
    }
    // Whether the last frame may have drawn on the row; a row it did not reach is all 0.
    bool rowDrawn(int row) const { return row >= firstDrawnRow_ && row <= lastDrawnRow_; }
    // A row of kColumns transparent cells.
    static const std::array<std::uint8_t, kColumns>& blankRow() {
        static constexpr std::array<std::uint8_t, kColumns> blank{};
        return blank;
    }
    // Pixels go to columns 0-255 and rows 0-256; anything else is dropped and marks the canvas
    // as overflowed.
    void set(int column, int row, std::uint8_t value) { setRepeat(column, row, value, 1); }
    // The same for a run along a row: count copies of value, or the count values given.
    void setRepeat(int column, int row, std::uint8_t value, int count) {
        fill(runCells(column, row, count), value);
    }
    void setLiteral(int column, int row, const std::uint8_t* values, int count) {
        copy(runCells(column, row, count), values);
    }
    // Whether any pixel was dropped since the last clear (a frame reaching outside).
    bool overflowed() const { return overflowed_; }
    // Whether a non-zero cell lies outside the picture of width x height pixels (canvas columns
    // 0 to width - 1, rows 1 to height): a pixel its bitmap would not hold.
    bool drawnOutside(int width, int height) const;

private:
    // The frame decoder marks the whole area its frame can reach as drawn before it starts, and
    // then stores its runs without growing the box run by run.
    friend class ExportFrameSink;

    // The part of a run that lies in the picture: its cells, how many pixels of the run come
    // before it, and its length.
    struct Run {
        std::uint8_t* cells = nullptr;
        int skipped = 0;
        int count = 0;
    };
    Run clipRun(int column, int row, int count) {
        if (count <= 0)
            return {};
        const int from = std::max(column, 0);
        const int end = std::min(column + count, kColumns);
        const bool rowInside = row >= 0 && row < kSize;
        if (!rowInside || from != column || end != column + count)
            overflowed_ = true;
        if (!rowInside || from >= end)
            return {};
        return {cells_.data() + static_cast<std::size_t>(row) * kColumns + from, from - column,
                end - from};
    }
    // The same, growing the drawn box to hold the run.
    Run runCells(int column, int row, int count) {
        const Run run = clipRun(column, row, count);
        if (run.count > 0)
            growDrawnBox(column + run.skipped, column + run.skipped + run.count - 1, row);
        return run;
    }
    static void fill(const Run& run, std::uint8_t value) {
        if (run.count > 0)
            std::memset(run.cells, value, static_cast<std::size_t>(run.count));
    }
    static void copy(const Run& run, const std::uint8_t* values) {
        if (run.count > 0)
            std::memcpy(run.cells, values + run.skipped, static_cast<std::size_t>(run.count));
    }
    void growDrawnBox(int firstColumn, int lastColumn, int row) {
        firstDrawnColumn_ = std::min(firstDrawnColumn_, firstColumn);
        lastDrawnColumn_ = std::max(lastDrawnColumn_, lastColumn);
        firstDrawnRow_ = std::min(firstDrawnRow_, row);
        lastDrawnRow_ = std::max(lastDrawnRow_, row);
    }

    std::vector<std::uint8_t> cells_;
    bool overflowed_ = false;
    // A clear restores only the box drawn on since the last one, since a frame usually covers
    // a small part of the canvas.
    int firstDrawnColumn_ = 0;
    int lastDrawnColumn_ = kColumns - 1;
    int firstDrawnRow_ = 0;
    int lastDrawnRow_ = kSize - 1;
};

// Clears the canvas and decodes a frame of the sprite into it at its offsets (picture rows from
// canvas row 1).
DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas,
                                  SpriteEncoding encoding = SpriteEncoding::runLength);

// The most encodeFrameBmp writes for a picture of this size (what an export needs on disk).
std::uint64_t mostFrameBmpBytes(int width, int height);
// The bytes of one frame's BMP file: headers, the 1024-byte palette, RLE8 rows bottom-up.
// width and height are the sprite's, 1 to 256 each; other sizes give an empty result, since
// no viewer opens a picture without pixels.
ByteVector encodeFrameBmp(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height);

enum class BmpReadStatus {
    ok,
    unsupportedFormat, // compression other than RLE8/RGB/16-bit fields, or a bit count we refuse
    tooLarge,          // wider or taller than kMaxBitmapSize
    truncated,         // headers cut short
    badHeaders,        // a negative width, or pixel data said to start inside the headers
};

struct BmpReadResult {
    BmpReadStatus status = BmpReadStatus::ok;
    int width = 0;
    int height = 0;             // as a positive number of rows
    bool dataTruncated = false; // the pixel data ended early; the image keeps what was read
};

// Clears the image and reads the picture into it: RLE8, or uncompressed 8-bit (indices), 16-bit
// (5-5-5, or 5-6-5 given as bit fields; channels widened to 8 bits), 24- or 32-bit (colours
// matched to the palette through `nearest`); bottom-up or top-down. Pixel
// values of 8-bit pictures are palette indices as they stand: their colour table is not read.
// Cells outside the picture are dropped; the data may end early (see dataTruncated).
BmpReadResult readBmp(Bytes file, NearestColour& nearest, IndexImage& image);

// The same for pictures larger than a frame (sprite sheets): into `indices`, width x height
// bytes from the top-left, refused as tooLarge past maxSide or maxPixels.
BmpReadResult readBmpIndices(Bytes file, NearestColour& nearest, int maxSide, std::size_t maxPixels,
                             std::vector<std::uint8_t>& indices);

// The message for a picture that was not read (empty for ok), naming the file.
std::string bmpReadMessage(BmpReadStatus status, std::string_view fileName);

} // namespace pixmorph
