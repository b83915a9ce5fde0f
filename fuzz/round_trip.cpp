// Round trips: any picture the GRP writer accepts decodes back to the same pixels, and any BMP
// the export writes reads back, through the compile's reader, to the same indices.
//
// Input: sprite width and height (16 bits each, taken modulo 300, plus 1), the origin of a
// block of cells and the block's width, then the cells of the block row by row. The BMP takes
// the same block on an export canvas, with the sizes taken modulo 256.
#include "picture_checks.h"

using namespace pixmorph;
using fuzz::kSide;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static IndexImage image;
    fuzz::Input in(data, size);
    const int width = in.pictureSide();
    const int height = in.pictureSide();
    const int left = static_cast<int>(in.u16() % kSide);
    const int top = static_cast<int>(in.u16() % kSide);
    const int blockWidth = 1 + static_cast<int>(in.u16() % kSide);
    const Bytes cells = in.rest();

    // The image stays clear between inputs; only the block is drawn and then wiped again.
    fuzz::Extent extent;
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
    fuzz::checkSpriteRoundTrip(image, width, height, extent);
    draw(true);

    static ExportCanvas canvas;
    canvas.clear();
    for (std::size_t i = 0; i < cells.size(); ++i)
        canvas.set(left + static_cast<int>(i % blockWidth),
                   top + 1 + static_cast<int>(i / blockWidth), cells[i]);
    const int bmpWidth = 1 + (width - 1) % kMaxPictureSize;
    const int bmpHeight = 1 + (height - 1) % kMaxPictureSize;
    fuzz::checkBmpReadsBack(encodeFrameBmp(canvas, Palette{}, bmpWidth, bmpHeight), canvas,
                            bmpWidth, bmpHeight);
    return 0;
}
