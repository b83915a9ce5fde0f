// The compile's path through one bitmap: the BMP reader (RLE8, uncompressed 8-bit, 16-, 24- and
// 32-bit colours) into the IndexImage, then the frame box and the sprite writer, whose file
// must decode back to the picture.
#include "core/bmp_file.h"
#include "sprite_check.h"

#include <cstddef>
#include <cstdint>

using namespace pixmorph;

namespace {

constexpr int kSide = IndexImage::kSize;

// Nothing is stored outside the picture: the column right of it and the row below it stay 0.
void checkOutsideIsClear(const IndexImage& image, int width, int height) {
    for (int y = 0; width < kSide && y < kSide; ++y)
        FUZZ_CHECK(image.at(width, y) == 0);
    for (int x = 0; height < kSide && x < kSide; ++x)
        FUZZ_CHECK(image.at(x, height) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static IndexImage image;
    NearestColour nearest{Palette{}};
    const BmpReadResult read = readBmp(Bytes(data, size), nearest, image);
    FUZZ_CHECK(read.width >= 0 && read.width <= kMaxBitmapSize);
    FUZZ_CHECK(read.height >= 0 && read.height <= kMaxBitmapSize);
    if (read.status != BmpReadStatus::ok)
        return 0;
    checkOutsideIsClear(image, read.width, read.height);
    fuzz::checkSpriteRoundTrip(image, read.width, read.height,
                               fuzz::extentOf(image, read.width, read.height));
    return 0;
}
