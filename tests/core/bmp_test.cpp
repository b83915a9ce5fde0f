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

TEST(BmpRead, SizeLimitsAndBadHeaders) {
    // The malformed-input suite has the other refusals and damage.
    const std::tuple<std::int32_t, std::int32_t, int, std::uint32_t, BmpReadStatus> cases[] = {
        {256, -256, 8, 1, BmpReadStatus::ok},
        {257, 1, 8, 1, BmpReadStatus::tooLarge},
        {-3, 5, 24, 0, BmpReadStatus::badHeaders},
    };
    IndexImage image;
    for (const auto& [width, height, bits, compression, status] : cases)
        EXPECT_EQ(
            readPicture(handLaidBmp(width, height, bits, compression, {1, 1, 0, 1}), image).status,
            status)
            << width << " x " << height;
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

// A frame past the picture is refused in the malformed-input suite; one at its corner is not.
TEST(ExportCanvas, TheLastPixelIsNoOverflow) {
    const ByteVector sprite = test::handLaidSprite(256, 256, {{255, 255, 1, 1, {{0x01, 5}}}});
    ExportCanvas canvas;
    decodeFrameForExport(sprite, *readFrameEntry(sprite, 0), canvas);
    EXPECT_FALSE(canvas.overflowed());
}

} // namespace
} // namespace pixmorph
