#include "core_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

namespace pixmorph {
namespace {

using namespace test;
TEST(BmpRead, Rle8Grammar) {
    // clang-format off
    const std::tuple<int, int, ByteVector, std::vector<int>> cases[] = { // cells from the top
        {3, 2, {2, 4, 1, 5, 0, 0, 3, 6, 0, 1}, {6, 6, 6, 4, 4, 5}},
        {2, -2, {2, 4, 0, 0, 2, 5, 0, 1}, {4, 4, 5, 5}},
        {4, 1, {0, 3, 7, 8, 9, 0xEE, 1, 5, 0, 1}, {7, 8, 9, 5}}, // odd absolute run, pad
        {4, 3, {1, 1, 0, 2, 2, 1, 1, 2, 0, 0, 0, 2, 3, 0, 1, 3, 0, 1},
         {0, 0, 0, 3, 0, 0, 0, 2, 1, 0, 0, 0}}, // deltas
        {2, 2, {5, 1, 0, 4, 2, 2, 2, 2, 0, 2, 200, 0, 3, 3, 0, 2, 0, 9, 7, 7},
         {0, 0, 1, 1}}, // cells past the edges dropped
    }; // clang-format on
    for (const auto& [width, height, data, expected] : cases) {
        IndexImage image;
        EXPECT_EQ(readPicture(handLaidBmp(width, height, 8, 1, data), image).status,
                  BmpReadStatus::ok);
        std::vector<int> cells;
        for (int y = 0; y < std::abs(height); ++y)
            for (int x = 0; x < width; ++x)
                cells.push_back(static_cast<int>(image.at(x, y)));
        EXPECT_EQ(cells, expected) << width << " x " << height;
    }
}

TEST(BmpRead, UncompressedRowsWithPadding) {
    // 24-bit colours of the test palette, rows padded to four bytes with 0xEE.
    const Palette palette = test::distinctPalette();
    for (const int width : {1, 2, 3, 4}) {
        ByteVector data;
        for (int y = 0; y < 2; ++y) { // bottom row first: 11 12 ..., then 1 2 ...
            for (int x = 0; x < width; ++x) {
                const std::uint32_t c = palette.entries[1 + x + 10 * (1 - y)];
                data.insert(data.end(), {Palette::blue(c), Palette::green(c), Palette::red(c)});
            }
            data.resize((data.size() + 3) / 4 * 4, 0xEE);
        }
        IndexImage image;
        EXPECT_FALSE(readPicture(handLaidBmp(width, 2, 24, 0, data), image).dataTruncated);
        EXPECT_EQ(image.at(width - 1, 0) + 100 * image.at(width - 1, 1),
                  width + 100 * (10 + width));
    }
}

// 16-bit pixels: channels widened by repeating their high bits, so 16 of 32 is 132 and 32 of 64
// is 130; plain shifts (128, 128, 248) would pick the decoy entry instead.
TEST(BmpRead, SixteenBitPixelsWidenTheirChannels) {
    std::array<std::uint32_t, 256> entries{};
    entries.fill(Palette::colour(1, 1, 1));
    entries[1] = Palette::colour(132, 130, 255);
    entries[2] = Palette::colour(128, 128, 248); // the decoy
    entries[3] = Palette::colour(132, 132, 255);
    const auto read = [&](std::uint32_t compression, const ByteVector& masks, std::uint16_t pixel) {
        ByteVector data = masks;
        appendU16(data, pixel);
        appendU16(data, 0); // row padding
        ByteVector file = test::handLaidBmp(1, 1, 16, compression, data);
        putU32(file, 10, static_cast<std::uint32_t>(54 + masks.size()));
        IndexImage image;
        NearestColour nearest{Palette(entries)};
        const BmpReadResult result = readBmp(file, nearest, image);
        return std::pair{result.status, image.at(0, 0)};
    };
    const auto masks = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        ByteVector bytes;
        for (const std::uint32_t mask : {r, g, b})
            appendU32(bytes, mask);
        return bytes;
    };
    const auto ok = [](std::uint32_t index) { return std::pair{BmpReadStatus::ok, index}; };
    EXPECT_EQ(read(3, masks(0xF800, 0x07E0, 0x001F), 16 << 11 | 32 << 5 | 31), ok(1));
    EXPECT_EQ(read(3, masks(0x7C00, 0x03E0, 0x001F), 16 << 10 | 16 << 5 | 31), ok(3));
    EXPECT_EQ(read(0, {}, 16 << 10 | 16 << 5 | 31), ok(3)); // 5-5-5 without masks
    EXPECT_EQ(read(3, masks(0x0F00, 0x00F0, 0x000F), 0x0FFF).first,
              BmpReadStatus::unsupportedFormat);
}

// The compile reads pictures as large as its image; a frame box must still fit its fields.
TEST(BmpRead, PicturesUpTo300Pixels) {
    const auto picture = [](int x, int y) {
        const std::size_t rowBytes = 300 * 3;
        ByteVector data(rowBytes * 300, 0);
        std::fill_n(data.begin() + (299 - y) * rowBytes + 3 * x, 3, 0xFF); // bottom row first
        return test::handLaidBmp(300, 300, 24, 0, data);
    };
    IndexImage image;
    SpriteWriter writer(2);
    ASSERT_EQ(test::readPicture(picture(10, 10), image).status, BmpReadStatus::ok);
    EXPECT_EQ(writer.addFrame(image, 300, 300), GrpWriteError::none);
    ASSERT_EQ(test::readPicture(picture(280, 10), image).status, BmpReadStatus::ok);
    EXPECT_EQ(writer.addFrame(image, 300, 300), GrpWriteError::offsetTooLarge);
    const ByteVector file = writer.finish();
    EXPECT_EQ(*readSpriteHeader(file), (SpriteHeader{2, 300, 300}));
    EXPECT_EQ(*readFrameEntry(file, 0), (FrameEntry{10, 10, 1, 2, 33}));
    // A column more, or a negative width, is refused; the malformed-input suite has the rest.
    EXPECT_EQ(readPicture(handLaidBmp(301, 1, 8, 1, {1, 1, 0, 1}), image).status,
              BmpReadStatus::tooLarge);
    EXPECT_EQ(readPicture(handLaidBmp(-3, 5, 24, 0, {1, 1, 0, 1}), image).status,
              BmpReadStatus::badHeaders);
}

ByteVector pixelData(const ByteVector& file) {
    return ByteVector(file.begin() + 1078, file.end());
}

TEST(BmpWrite, PairRulesOfOneRow) {
    ByteVector transparent256;
    for (int i = 0; i < 128; ++i)
        transparent256.insert(transparent256.end(), {2, 0});
    const std::tuple<int, std::vector<int>, ByteVector> cases[] = {
        // width, cells from column 0 (past the width too), the row before its end code
        {3, {5}, {1, 5, 2, 0, 2, 0}},
        {255, {}, {255, 0, 1, 0}},
        {256, {}, transparent256},
        {4, {0, 0, 0, 5}, {2, 0, 1, 0, 1, 5}},
        {256, std::vector<int>(256, 7), {254, 7, 2, 7}},
        {3, {1, 1, 1, 1, 1}, {5, 1}}, // coloured runs are not cut at the width
    };
    for (const auto& [width, cells, row] : cases) {
        ExportCanvas canvas;
        for (std::size_t column = 0; column < cells.size(); ++column)
            canvas.set(static_cast<int>(column), 1, static_cast<std::uint8_t>(cells[column]));
        ByteVector expected = row;
        expected.insert(expected.end(), {0, 1}); // the only row ends the picture
        EXPECT_EQ(pixelData(encodeFrameBmp(canvas, DefaultPalette, width, 1)), expected) << width;
    }
}

TEST(BmpWrite, WholeFile) {
    ExportCanvas canvas; // picture row t is canvas row t + 1
    canvas.set(0, 1, 5);
    canvas.set(2, 2, 7);
    const ByteVector file = encodeFrameBmp(canvas, DefaultPalette, 3, 2);
    // 1092 bytes, pixels at 1078; 3 x 2, 8 bits, RLE8 of 14 bytes, 72 dpi, 256 colours.
    ByteVector headers{'B', 'M'};
    for (const std::uint32_t field : {1092, 0, 1078, 40, 3, 2})
        appendU32(headers, field);
    appendU16(headers, 1);
    appendU16(headers, 8);
    for (const std::uint32_t field : {1, 14, 2834, 2834, 256, 256})
        appendU32(headers, field);
    ASSERT_EQ(file.size(), 1092u);
    EXPECT_EQ(ByteVector(file.begin(), file.begin() + 54), headers);
    // Palette entries as blue, green, red, 0: entry 1 is 2323FF.
    EXPECT_EQ(ByteVector(file.begin() + 58, file.begin() + 62), (ByteVector{0xFF, 0x23, 0x23, 0}));
    // Bottom row first; 00 00 ends a row, 00 01 the top row.
    EXPECT_EQ(pixelData(file), (ByteVector{2, 0, 1, 7, 0, 0, 1, 5, 2, 0, 2, 0, 0, 1}));
    EXPECT_TRUE(encodeFrameBmp(ExportCanvas(), DefaultPalette, 5, 257).empty());
}

} // namespace
} // namespace pixmorph
