// The compile's path through one bitmap: the BMP reader (RLE8, uncompressed 8-bit, 16-, 24- and
// 32-bit colours) into the IndexImage, then the frame box and the sprite writer, whose file
// must decode back to the picture.
#include "picture_checks.h"

using namespace pixmorph;
using fuzz::kSide;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static IndexImage image;
    NearestColour nearest{Palette{}};
    const BmpReadResult read = readBmp(Bytes(data, size), nearest, image);
    FUZZ_CHECK(read.width >= 0 && read.width <= kMaxBitmapSize);
    FUZZ_CHECK(read.height >= 0 && read.height <= kMaxBitmapSize);
    if (read.status != BmpReadStatus::ok)
        return 0;
    // Nothing is stored outside the picture: the column right of it and the row below it stay 0.
    for (int i = 0; i < kSide; ++i)
        FUZZ_CHECK((read.width >= kSide || image.at(read.width, i) == 0) &&
                   (read.height >= kSide || image.at(i, read.height) == 0));
    fuzz::checkSpriteRoundTrip(image, read.width, read.height,
                               fuzz::extentOf(image, read.width, read.height));
    return 0;
}
