// The compile's path through a PNG frame: libspng under our limits, indexed pictures kept and
// others matched to the palette, into the IndexImage. What is read must survive our writer and
// reader unchanged, and the sprite writer must take it as a frame.
#include "core/frame_picture.h"
#include "core/png_reader.h"
#include "core/png_writer.h"
#include "picture_checks.h"

#include <string>

using namespace pixmorph;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static IndexImage image;
    static const Palette palette;
    NearestColour nearest(palette);
    const FramePicture read = readFramePicture(Bytes(data, size), nearest, image, "f.png");
    if (!read.refusal.empty())
        return 0;
    FUZZ_CHECK(read.width >= 0 && read.width <= kMaxBitmapSize);
    FUZZ_CHECK(read.height >= 0 && read.height <= kMaxBitmapSize);
    // A bitmap may be empty (the dispatch sends whatever is not a PNG there); a PNG never is.
    if (read.width == 0 || read.height == 0) {
        FUZZ_CHECK(!hasPngSignature(Bytes(data, size)));
        return 0;
    }
    std::vector<std::uint8_t> cells(static_cast<std::size_t>(read.width) * read.height);
    for (int y = 0; y < read.height; ++y)
        for (int x = 0; x < read.width; ++x)
            cells[static_cast<std::size_t>(y) * read.width + x] =
                static_cast<std::uint8_t>(image.at(x, y));
    const ByteVector again = encodeIndexedPng(cells.data(), read.width, read.height,
                                              static_cast<std::size_t>(read.width), palette);
    const PngIndices reread = readPngIndices(
        again, nearest, {kMaxBitmapSize, std::size_t{kMaxBitmapSize} * kMaxBitmapSize});
    FUZZ_CHECK(reread.status == PngReadStatus::ok && reread.indices == cells);
    fuzz::checkSpriteRoundTrip(image, read.width, read.height,
                               fuzz::extentOf(image, read.width, read.height));
    return 0;
}
