#include "core/frame_picture.h"
#include "core/png_reader.h"
#include "core/png_writer.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

ExportCanvas canvasWithCorners(int width, int height) {
    ExportCanvas canvas;
    canvas.set(0, 1, 7);
    canvas.set(width - 1, 1, 255);
    canvas.set(0, height, 1);
    canvas.setRepeat(1, height, 42, width - 1);
    return canvas;
}

// A frame comes back as the indices its bitmap holds, through the same dispatch the compile
// uses, at the sizes where the rows' ends meet the canvas's.
TEST(PngFrame, ReadsBackAsTheBitmapDoes) {
    const Palette palette;
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {256, 256}}) {
        const ExportCanvas canvas = canvasWithCorners(width, height);
        IndexImage fromPng, fromBmp;
        NearestColour nearest(palette);
        const FramePicture png = readFramePicture(encodeFramePng(canvas, palette, width, height),
                                                  nearest, fromPng, "f.png");
        const FramePicture bmp = readFramePicture(encodeFrameBmp(canvas, palette, width, height),
                                                  nearest, fromBmp, "f.bmp");
        EXPECT_EQ(png.refusal, "");
        EXPECT_EQ(std::pair(png.width, png.height), std::pair(width, height));
        EXPECT_TRUE(fromPng == fromBmp) << width << " x " << height;
    }
    EXPECT_TRUE(encodeFramePng(ExportCanvas(), palette, 257, 1).empty());
}

TEST(PngFrame, RefusalsNameTheFile) {
    const Palette palette;
    NearestColour nearest(palette);
    IndexImage image;
    // As for bitmaps, up to what the image holds; past it libspng stops at the header.
    std::vector<std::uint8_t> wide(301, 5);
    const auto refusalOf = [&](int width) {
        const ByteVector png = encodeIndexedPng(wide.data(), width, 1, width, palette);
        return readFramePicture(png, nearest, image, "w.png").refusal;
    };
    EXPECT_EQ(refusalOf(300), "");
    EXPECT_EQ(refusalOf(301), "w.png is wider or taller than 300 pixels.");

    ByteVector cut = encodeFramePng(canvasWithCorners(9, 9), palette, 9, 9);
    cut.resize(cut.size() - 20);
    const std::string refusal = readFramePicture(cut, nearest, image, "c.png").refusal;
    EXPECT_TRUE(refusal.starts_with("c.png is not a PNG picture that can be read: ")) << refusal;
}

// Sheets are read with limits of their own: a side, and the pixels in all.
TEST(PngIndices, LimitsOfTheCaller) {
    const Palette palette;
    NearestColour nearest(palette);
    std::vector<std::uint8_t> cells(40 * 40, 3);
    const ByteVector png = encodeIndexedPng(cells.data(), 40, 40, 40, palette);
    EXPECT_EQ(readPngIndices(png, nearest, {40, 1600}).indices, cells);
    EXPECT_EQ(readPngIndices(png, nearest, {39, 1600}).status, PngReadStatus::tooLarge);
    EXPECT_EQ(readPngIndices(png, nearest, {40, 1599}).status, PngReadStatus::tooLarge);
}

} // namespace
} // namespace pixmorph
