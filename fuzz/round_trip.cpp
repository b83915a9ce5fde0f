// Round trips: any picture the GRP writer accepts decodes back to the same pixels.
//
// Input: sprite width and height (16 bits each, taken modulo 300, plus 1), the origin of a
// block of cells and the block's width, then the cells of the block row by row.
#include "core/grp_format.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace pixmorph;

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}
    unsigned u8() { return readU8(bytes_, at_++).value_or(0); }
    unsigned u16() {
        const unsigned low = u8();
        return low | (u8() << 8);
    }
    Bytes rest() const { return at_ < bytes_.size() ? bytes_.subspan(at_) : Bytes{}; }

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

constexpr int kSide = IndexImage::kSize;

// The cells a decode stores, 0 where nothing was stored; nothing may land outside the picture.
class Pixels final : public FrameRowSink {
public:
    Pixels(const FrameEntry& entry, int width, int height)
        : entry_(entry), width_(width), height_(height),
          cells_(static_cast<std::size_t>(width) * height, 0) {}
    void store(int column, int row, std::uint8_t value) override {
        const int x = entry_.xOffset + column;
        const int y = entry_.yOffset + row;
        FUZZ_CHECK(column < entry_.width && x < width_ && y < height_);
        cells_[static_cast<std::size_t>(y) * width_ + x] = value;
    }
    int at(int x, int y) const { return cells_[static_cast<std::size_t>(y) * width_ + x]; }

private:
    const FrameEntry& entry_;
    int width_, height_;
    std::vector<int> cells_;
};

// Where the non-zero cells of the picture lie.
struct Extent {
    int minX = kSide, minY = kSide, maxX = -1, maxY = -1;
    void add(int x, int y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
};

void grpRoundTrip(const IndexImage& image, int width, int height, const Extent& e) {
    SpriteWriter writer(2);
    const GrpWriteError error = writer.addFrame(image, width, height);
    if (error != GrpWriteError::none) {
        const bool tooLarge = e.maxX - e.minX + 1 > 255 || e.maxY - e.minY + 2 > 255;
        const bool tooFar = e.minX > 255 || e.minY > 255;
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
    Pixels decoded(*entry, width, height);
    FUZZ_CHECK(decodeFrameRows(file, *entry, decoded) == DecodeStatus::complete);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            FUZZ_CHECK(decoded.at(x, y) == static_cast<int>(image.at(x, y)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static IndexImage image;
    Input in(data, size);
    const int width = 1 + static_cast<int>(in.u16() % kSide);
    const int height = 1 + static_cast<int>(in.u16() % kSide);
    const int left = static_cast<int>(in.u16() % kSide);
    const int top = static_cast<int>(in.u16() % kSide);
    const int blockWidth = 1 + static_cast<int>(in.u16() % kSide);
    const Bytes cells = in.rest();

    // The image stays clear between inputs; only the block is drawn and then wiped again.
    Extent extent;
    auto draw = [&](bool wipe) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int x = left + static_cast<int>(i % blockWidth);
            const int y = top + static_cast<int>(i / blockWidth);
            image.set(x, y, wipe ? 0 : cells[i]);
            if (!wipe && cells[i] != 0 && x < width && y < height)
                extent.add(x, y);
        }
    };
    draw(false);
    grpRoundTrip(image, width, height, extent);
    draw(true);
    return 0;
}
