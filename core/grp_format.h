#pragma once
// The GRP sprite file: header, frame table, row-encoded frame data; the decoder that places a
// frame's pixels into a canvas and the writer that cuts and encodes frame boxes.
//
// Readers take the bytes of the whole file (read once) and never read past them: data that
// ends early stops the decode and is reported as truncated. Pixels that would land outside a
// canvas are dropped. The writer refuses what its byte and 16-bit fields cannot hold instead of
// writing the low bits.

#include "core/bytes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pixmorph {

inline constexpr std::size_t kSpriteHeaderSize = 6;
inline constexpr std::size_t kFrameEntrySize = 8;
inline constexpr std::string_view kMakerTag = "Quillbright";

struct SpriteHeader {
    std::uint16_t frameCount = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    bool operator==(const SpriteHeader&) const = default;
};

struct FrameEntry {
    std::uint8_t xOffset = 0;
    std::uint8_t yOffset = 0;
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint32_t dataOffset = 0;
    bool operator==(const FrameEntry&) const = default;
};

// The cell of (x, y) on a grid of columns x rows whose x-lines are kept together; nothing
// outside the grid has an index. Inline, since decoding and cutting frames call it for every
// pixel.
inline std::optional<std::size_t> canvasCellIndex(int x, int y, int columns, int rows) {
    if (x < 0 || y < 0 || x >= columns || y >= rows)
        return std::nullopt;
    return static_cast<std::size_t>(x) * rows + y;
}

// The main window's decoded frame: 512 columns x 257 rows, one column's cells contiguous.
class FrameCanvas {
public:
    static constexpr int kColumns = 512;
    static constexpr int kRows = 257;

    FrameCanvas();
    void clear();
    // 0 outside the canvas.
    std::int16_t at(int x, int y) const {
        const auto index = canvasCellIndex(x, y, kColumns, kRows);
        return index ? cells_[*index] : std::int16_t{0};
    }
    // Dropped outside the canvas.
    void set(int x, int y, std::uint8_t value) {
        if (const auto index = canvasCellIndex(x, y, kColumns, kRows))
            cells_[*index] = value;
    }
    bool operator==(const FrameCanvas&) const = default;

private:
    std::vector<std::int16_t> cells_;
};

// The compile's working image: 300 x 300 palette indices, x and y from the top-left corner.
// Its cells are kept row by row, the order in which pictures are read and frames encoded.
class IndexImage {
public:
    static constexpr int kSize = 300;

    IndexImage();
    void clear();
    std::uint32_t at(int x, int y) const {
        const auto index = canvasCellIndex(y, x, kSize, kSize);
        return index ? cells_[*index] : 0u;
    }
    void set(int x, int y, std::uint32_t value) {
        if (const auto index = canvasCellIndex(y, x, kSize, kSize)) {
            cells_[*index] = value;
            noteSet(x, x, y);
        }
    }
    // count cells of one value, or the count values given, from (x, y) along the row; cells
    // outside the image are dropped.
    void fillRow(int x, int y, std::uint32_t value, int count) {
        const auto [from, end] = clipRun(x, y, count);
        std::fill(cells_.begin() + from, cells_.begin() + end, value);
    }
    void copyRow(int x, int y, const std::uint8_t* values, int count) {
        const auto [from, end] = clipRun(x, y, count);
        std::copy_n(values + (x < 0 ? -x : 0), end - from, cells_.begin() + from);
    }
    bool operator==(const IndexImage& other) const { return cells_ == other.cells_; }

    // The kSize cells of row y (the caller keeps y within the image).
    const std::uint32_t* row(int y) const {
        return cells_.data() + static_cast<std::ptrdiff_t>(y) * kSize;
    }
    // For a reader that stores a row's cells itself: the cells of row y (within the image),
    // and then the columns it stored on that row, first to last.
    std::uint32_t* rowToFill(int y) {
        return cells_.data() + static_cast<std::ptrdiff_t>(y) * kSize;
    }
    void noteFilled(int first, int last, int y) { noteSet(first, last, y); }

    // Every non-zero cell lies in the first rowsUsed() rows, and within a row between the
    // columns of its extent (empty when first > last).
    int rowsUsed() const { return rowsUsed_; }
    struct Extent {
        int first, last;
    };
    Extent rowExtent(int y) const { return {firstSet_[y], lastSet_[y]}; }

private:
    // The cells of a run along a row within the image, as indices from and end; noted as set.
    std::pair<std::ptrdiff_t, std::ptrdiff_t> clipRun(int x, int y, int count) {
        const int from = std::max(x, 0);
        const int end = count > 0 ? std::min(x + count, kSize) : from;
        if (y < 0 || y >= kSize || from >= end)
            return {0, 0};
        noteSet(from, end - 1, y);
        const std::ptrdiff_t rowStart = static_cast<std::ptrdiff_t>(y) * kSize;
        return {rowStart + from, rowStart + end};
    }
    void noteSet(int first, int last, int y) {
        firstSet_[y] = std::min(firstSet_[y], first);
        lastSet_[y] = std::max(lastSet_[y], last);
        rowsUsed_ = std::max(rowsUsed_, y + 1);
    }

    std::vector<std::uint32_t> cells_;
    // The cells set since the last clear lie in these first rows, and in each row between
    // these columns; a clear restores only them, since a picture is usually far smaller than
    // the image, and the frame box is found from them.
    int rowsUsed_ = 0;
    std::vector<int> firstSet_;
    std::vector<int> lastSet_;
};

// How a sprite stores its frames' pixels: rows of run-length opcodes behind a table of row
// offsets (the usual form), or plain rows of width bytes one after another (a rarer variant
// some of the game's own sprites use).
enum class SpriteEncoding { runLength, uncompressed };

// A name for the user ("run-length", "uncompressed").
std::string_view spriteEncodingName(SpriteEncoding encoding);

// Uncompressed only when every frame's block of width x height bytes lies in the file, the
// distinct blocks tile the data from the end of the frame table to the end of the file without
// gap or overlap, and the file does not decode cleanly as run-length rows (every row offset
// past the frame's offset table and every row complete). Anything else is run-length, the
// form the readers always took.
SpriteEncoding detectSpriteEncoding(Bytes file);

enum class DecodeStatus {
    complete,
    truncated, // the data ended inside a header, the table, the row offsets or a row
    idling,    // a row went on over more opcodes that produce no pixel than any row needs
};

std::optional<SpriteHeader> readSpriteHeader(Bytes file);
// Entry `index` of the frame table; nullopt when the table entry lies past the end of the data.
std::optional<FrameEntry> readFrameEntry(Bytes file, std::size_t index);

// Decodes the frame's rows, calling store(column, row, value) for every pixel the row streams
// store (column counted from the box's left edge, so it may pass the box width on the last run
// of a row; row from 0 at the box's top). Skipped pixels store nothing.
class FrameRowSink {
public:
    virtual void store(int column, int row, std::uint8_t value) = 0;
    // A repeat run and a literal run at once; by default pixel by pixel. The canvases take
    // the runs through decodeFrameRowsInto instead, without a virtual call per run.
    virtual void storeRepeat(int column, int row, std::uint8_t value, int count) {
        for (int i = 0; i < count; ++i)
            store(column + i, row, value);
    }
    virtual void storeLiteral(int column, int row, const std::uint8_t* values, int count) {
        for (int i = 0; i < count; ++i)
            store(column + i, row, values[i]);
    }

protected:
    ~FrameRowSink() = default;
};
// An uncompressed frame stores each row as one literal run of the box width.
DecodeStatus decodeFrameRows(Bytes file, const FrameEntry& entry, FrameRowSink& sink,
                             SpriteEncoding encoding = SpriteEncoding::runLength);

// Clears the canvas and decodes the frame to [xOffset + column][yOffset + row].
DecodeStatus decodeFrame(Bytes file, const FrameEntry& entry, FrameCanvas& canvas,
                         SpriteEncoding encoding = SpriteEncoding::runLength);

// ---- Writer -------------------------------------------------------------------------------

enum class GrpWriteError {
    none,
    boxTooLarge,       // box wider or taller than 255 (the extra transparent row included)
    offsetTooLarge,    // a box edge beyond 255
    rowOffsetOverflow, // a row stream starts beyond 65535 bytes from the frame start
    tooManyFrames,     // more than 65535 entries
    badDuplicate,      // a duplicate that names no earlier frame
    fileTooLarge,      // the file would grow past what the readers take (kMaxWholeFileSize)
};

// A message naming the frame, for refusals.
std::string grpWriteErrorMessage(GrpWriteError error, std::size_t frameIndex);

struct FrameBox {
    FrameEntry entry;   // dataOffset unused; all 0 when refused
    bool empty = false; // no non-zero cell: written as a 1 x 1 box at (0, 0), one row 0x81
    GrpWriteError error = GrpWriteError::none;
};

// The box of the image's non-zero cells among its first width x height cells, one row taller
// for the closing transparent row; refused when it does not fit the entry's byte fields.
FrameBox findFrameBox(const IndexImage& image, int width, int height);

struct EncodedFrame {
    ByteVector data; // row offsets followed by the row streams
    GrpWriteError error = GrpWriteError::none;
};

// The row offset table and the row streams of the box; cells right of the box and in its last
// row count as 0. Cell values are written as their low byte.
EncodedFrame encodeFrameData(const IndexImage& image, const FrameBox& box);

// The box's rows as plain bytes, width x height (the uncompressed variant's frame data).
EncodedFrame encodeRawFrameData(const IndexImage& image, const FrameBox& box);

// Builds a whole GRP file in memory in the order the file is laid out: header, table, maker
// tag, then each frame's data; duplicates share an earlier frame's data offset. An
// uncompressed sprite has no maker tag: its frame data must start right after the table.
class SpriteWriter {
public:
    explicit SpriteWriter(std::size_t frameCount,
                          SpriteEncoding encoding = SpriteEncoding::runLength);

    // Cuts, encodes and appends the image as the next frame; raises the largest size to the
    // image's width and height.
    GrpWriteError addFrame(const IndexImage& image, int width, int height);
    // Records a size without a frame (a bitmap read but refused still counts for the header).
    void noteImageSize(int width, int height);
    // The next frame repeats the entry of an earlier frame.
    GrpWriteError addDuplicate(std::size_t earlierFrame);

    std::size_t framesAdded() const { return entries_.size(); }
    // The file as it stands: placeholder header and zero entries, the tag and the frame data
    // added so far (what an interrupted compile leaves behind).
    const ByteVector& bytesSoFar() const { return file_; }
    // The finished file: header with the largest width and height, then every entry added
    // (entries never added stay zero).
    ByteVector finish();

private:
    std::size_t frameCount_;
    SpriteEncoding encoding_;
    std::vector<FrameEntry> entries_;
    ByteVector file_;
    int largestWidth_ = 0;
    int largestHeight_ = 0;
};

} // namespace pixmorph
