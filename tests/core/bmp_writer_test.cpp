#include "bmp_test_pictures.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using test::canvasOf;
using test::Picture;

ByteVector pixelData(const ByteVector& file) {
    return ByteVector(file.begin() + 1078, file.end());
}

std::vector<int> repeated(int count, int value, std::vector<int> then = {}) {
    std::vector<int> cells(count, value);
    cells.insert(cells.end(), then.begin(), then.end());
    return cells;
}

TEST(BmpWrite, PairRulesOfOneRow) {
    struct Case {
        int width;
        std::vector<int> cells; // from column 0, past the width too
        ByteVector row;         // before the row's end code
    };
    ByteVector transparent256;
    for (int i = 0; i < 128; ++i)
        transparent256.insert(transparent256.end(), {2, 0});
    const Case cases[] = {
        {3, {5}, {1, 5, 2, 0, 2, 0}},
        {3, {0, 0, 5}, {2, 0, 1, 5}},
        {4, {}, {4, 0, 2, 0}},
        {255, {}, {255, 0, 1, 0}},
        {256, {}, transparent256},
        {1, {200}, {1, 200}},
        {4, {0, 0, 0, 5}, {2, 0, 1, 0, 1, 5}},
        {8, {0, 0, 0, 0, 0, 0, 9, 9}, {2, 0, 2, 0, 2, 0, 2, 9}},
        {256, repeated(256, 7), {254, 7, 2, 7}},
        {255, repeated(255, 7), {254, 7, 1, 7}},
        {256, repeated(255, 7, {8}), {254, 7, 1, 7, 1, 8}},
        {3, {1, 1, 1, 1, 1}, {5, 1}}, // coloured runs are not cut at the width
    };
    for (const auto& c : cases) {
        ExportCanvas canvas;
        for (std::size_t column = 0; column < c.cells.size(); ++column)
            canvas.set(static_cast<int>(column), 1, static_cast<std::uint8_t>(c.cells[column]));
        ByteVector expected = c.row;
        expected.insert(expected.end(), {0, 1}); // the only row ends the picture
        EXPECT_EQ(pixelData(encodeFrameBmp(canvas, DefaultPalette, c.width, 1)), expected)
            << "width " << c.width << ", " << c.cells.size() << " cells";
    }
}

TEST(BmpWrite, WholeFile) {
    Picture picture(3, 2);
    picture.at(0, 0) = 5;
    picture.at(2, 1) = 7;
    const ByteVector file = encodeFrameBmp(canvasOf(picture), DefaultPalette, 3, 2);
    const ByteVector headers = {
        'B', 'M', 0x44, 0x04, 0,    0,    0, 0, 0,    0,    0x36, 0x04, 0, 0, // 1092 bytes, pixels
                                                                              // at 1078
        40,  0,   0,    0,    3,    0,    0, 0, 2,    0,    0,    0,    1, 0, 8, 0, 1, 0, 0, 0,
        14,  0,   0,    0,    0x12, 0x0B, 0, 0, 0x12, 0x0B, 0,    0,    0, 1, 0, 0, 0, 1, 0, 0,
    };
    ASSERT_EQ(file.size(), 1092u);
    EXPECT_EQ(ByteVector(file.begin(), file.begin() + 54), headers);
    // Palette entries as blue, green, red, 0: entry 1 is 2323FF.
    EXPECT_EQ(ByteVector(file.begin() + 58, file.begin() + 62), (ByteVector{0xFF, 0x23, 0x23, 0}));
    // Bottom row first; 00 00 ends a row, 00 01 the top row.
    EXPECT_EQ(pixelData(file), (ByteVector{2, 0, 1, 7, 0, 0, 1, 5, 2, 0, 2, 0, 0, 1}));
    EXPECT_TRUE(encodeFrameBmp(ExportCanvas(), DefaultPalette, 0, 5).empty());
    EXPECT_TRUE(encodeFrameBmp(ExportCanvas(), DefaultPalette, 5, 257).empty());
}

TEST(BmpWrite, BottomRowOfA256RowSpriteIsKept) {
    // The bottom picture row lies on the canvas's sentinel row.
    Picture picture(4, 256);
    picture.at(1, 255) = 3;
    picture.at(2, 255) = 3;
    const ByteVector data = pixelData(encodeFrameBmp(canvasOf(picture), DefaultPalette, 4, 256));
    EXPECT_EQ(ByteVector(data.begin(), data.begin() + 10),
              (ByteVector{1, 0, 2, 3, 1, 0, 2, 0, 0, 0}));
    const ByteVector blank = pixelData(encodeFrameBmp(ExportCanvas(), DefaultPalette, 4, 256));
    EXPECT_EQ(ByteVector(blank.begin(), blank.begin() + 6), (ByteVector{4, 0, 2, 0, 0, 0}));
}

} // namespace
} // namespace pixmorph
