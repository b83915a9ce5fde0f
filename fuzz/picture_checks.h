#pragma once
// What the picture targets share: their input's fields, and the checks of the writers that
// every target reaching one makes (a sprite frame the writer accepts decodes back to the
// picture's pixels, one it refuses is one its fields cannot hold; a BMP reads back to its
// canvas).

#include "core/bmp_file.h"
#include "core/bytes.h"
#include "core/grp_format.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixmorph::fuzz {

inline constexpr int kSide = IndexImage::kSize;

// Fields taken one after another from a fuzzer's input; past its end every field reads 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}
    unsigned u8() { return readU8(bytes_, at_++).value_or(0); }
    unsigned u16() {
        const unsigned low = u8();
        return low | (u8() << 8);
    }
    // A picture's width or height: 1 to the compile image's side.
    int pictureSide() { return 1 + static_cast<int>(u16() % IndexImage::kSize); }
    // What is left after the fields taken.
    Bytes rest() const { return at_ < bytes_.size() ? bytes_.subspan(at_) : Bytes{}; }

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

// The BMP the export writes for a canvas reads back, through the compile's reader, to its
// indices.
inline void checkBmpReadsBack(const ByteVector& file, const ExportCanvas& canvas, int width,
                              int height) {
    static IndexImage image;
    static NearestColour nearest{Palette{}};
    const BmpReadResult read = readBmp(file, nearest, image);
    FUZZ_CHECK(read.status == BmpReadStatus::ok && !read.dataTruncated);
    FUZZ_CHECK(read.width == width && read.height == height);
    // Picture row y is canvas row y + 1.
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            FUZZ_CHECK(static_cast<int>(image.at(x, y)) == canvas.row(y + 1)[x]);
}

// Where the non-zero cells of a picture lie.
struct Extent {
    int minX = IndexImage::kSize, minY = IndexImage::kSize, maxX = -1, maxY = -1;
    void add(int x, int y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
};

inline Extent extentOf(const IndexImage& image, int width, int height) {
    Extent extent;
    for (int x = 0; x < std::min(width, IndexImage::kSize); ++x)
        for (int y = 0; y < std::min(height, IndexImage::kSize); ++y)
            if (image.at(x, y) != 0)
                extent.add(x, y);
    return extent;
}

// The cells a decode stores, row by row, kNothing where nothing was stored; no pixel may land
// outside the picture (but for transparent ones of uncompressed rows, unless strict).
class DecodedPicture final : public FrameRowSink {
public:
    static constexpr int kNothing = -1;
    DecodedPicture(const FrameEntry& entry, int width, int height, bool strict = false)
        : entry_(entry), width_(width), height_(height), strict_(strict),
          cells_(static_cast<std::size_t>(width) * height, kNothing) {}
    void store(int column, int row, std::uint8_t value) override {
        const int x = entry_.xOffset + column;
        const int y = entry_.yOffset + row;
        FUZZ_CHECK(column < entry_.width);
        // Uncompressed rows store their transparent cells too, the closing row's among them,
        // which may lie below the picture.
        if (value == 0 && !strict_ && (x >= width_ || y >= height_))
            return;
        FUZZ_CHECK(x < width_ && y < height_);
        cells_[static_cast<std::size_t>(y) * width_ + x] = value;
    }
    // The value the cell shows: 0 where nothing was stored.
    int at(int x, int y) const { return std::max(stored(x, y), 0); }
    int stored(int x, int y) const { return cells_[static_cast<std::size_t>(y) * width_ + x]; }
    const std::vector<int>& cells() const { return cells_; }

private:
    FrameEntry entry_;
    int width_, height_;
    bool strict_;
    std::vector<int> cells_;
};

// Writes the picture as frame 0 and a duplicate of it as frame 1, then reads the file back
// in the encoding it detects: the one written, or run-length for the rare uncompressed file
// that also reads soundly as run-length rows (which the compile refuses to write).
inline void checkSpriteRoundTrip(const IndexImage& image, int width, int height,
                                 const Extent& extent, SpriteEncoding encoding) {
    SpriteWriter writer(2, encoding);
    const GrpWriteError error = writer.addFrame(image, width, height);
    if (error != GrpWriteError::none) {
        const bool tooLarge =
            extent.maxX - extent.minX + 1 > 255 || extent.maxY - extent.minY + 2 > 255;
        const bool tooFar = extent.minX > 255 || extent.minY > 255;
        FUZZ_CHECK((error == GrpWriteError::boxTooLarge && tooLarge) ||
                   (error == GrpWriteError::offsetTooLarge && tooFar && !tooLarge) ||
                   error == GrpWriteError::rowOffsetOverflow);
        return;
    }
    FUZZ_CHECK(writer.addDuplicate(0) == GrpWriteError::none);
    const ByteVector file = writer.finish();

    const auto header = readSpriteHeader(file);
    FUZZ_CHECK(header && *header == (SpriteHeader{2, static_cast<std::uint16_t>(width),
                                                  static_cast<std::uint16_t>(height)}));
    const auto entry = readFrameEntry(file, 0);
    FUZZ_CHECK(entry && readFrameEntry(file, 1) == entry);
    if (detectSpriteEncoding(file) != encoding) {
        FUZZ_CHECK(encoding == SpriteEncoding::uncompressed);
        return;
    }
    DecodedPicture decoded(*entry, width, height);
    FUZZ_CHECK(decodeFrameRows(file, *entry, decoded, encoding) == DecodeStatus::complete);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            FUZZ_CHECK(decoded.at(x, y) == static_cast<int>(image.at(x, y)));
}

inline void checkSpriteRoundTrip(const IndexImage& image, int width, int height,
                                 const Extent& extent) {
    checkSpriteRoundTrip(image, width, height, extent, SpriteEncoding::runLength);
    checkSpriteRoundTrip(image, width, height, extent, SpriteEncoding::uncompressed);
}

} // namespace pixmorph::fuzz
