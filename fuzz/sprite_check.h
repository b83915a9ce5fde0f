#pragma once
// The check both the round trip and the compile target make of the sprite writer: a frame it
// accepts decodes back to the picture's pixels, and a frame it refuses is one its fields
// cannot hold.

#include "core/grp_format.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixmorph::fuzz {

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

// The cells a decode stores, 0 where nothing was stored; no pixel may land outside the picture.
class DecodedPicture final : public FrameRowSink {
public:
    DecodedPicture(const FrameEntry& entry, int width, int height)
        : entry_(entry), width_(width), height_(height),
          cells_(static_cast<std::size_t>(width) * height, 0) {}
    void store(int column, int row, std::uint8_t value) override {
        const int x = entry_.xOffset + column;
        const int y = entry_.yOffset + row;
        FUZZ_CHECK(column < entry_.width);
        // Uncompressed rows store their transparent cells too, the closing row's among them,
        // which may lie below the picture.
        if (value == 0 && (x >= width_ || y >= height_))
            return;
        FUZZ_CHECK(x < width_ && y < height_);
        cells_[static_cast<std::size_t>(y) * width_ + x] = value;
    }
    int at(int x, int y) const { return cells_[static_cast<std::size_t>(y) * width_ + x]; }

private:
    const FrameEntry& entry_;
    int width_, height_;
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
