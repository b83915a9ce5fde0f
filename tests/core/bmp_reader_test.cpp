#include "core_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>

namespace pixmorph {
namespace {

using test::handLaidBmp;
using test::readPicture;
using Grid = std::vector<std::vector<int>>; // rows from the top

Grid gridOf(const IndexImage& image, int width, int height) {
    Grid rows(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = static_cast<int>(image.at(x, y));
    return rows;
}

TEST(BmpRead, Rle8Grammar) {
    struct Case {
        const char* what;
        int width, height;
        ByteVector data;
        Grid expected;
        bool truncated = false;
    };
    const Case cases[] = {
        {"pairs, bottom row first", 3, 2, {2, 4, 1, 5, 0, 0, 3, 6, 0, 1}, {{6, 6, 6}, {4, 4, 5}}},
        {"top-down", 2, -2, {2, 4, 0, 0, 2, 5, 0, 1}, {{4, 4}, {5, 5}}},
        {"odd absolute run and its pad", 4, 1, {0, 3, 7, 8, 9, 0xEE, 1, 5, 0, 1}, {{7, 8, 9, 5}}},
        {"even absolute run", 5, 1, {0, 4, 7, 8, 9, 10, 1, 5, 0, 1}, {{7, 8, 9, 10, 5}}},
        {"deltas",
         4,
         3,
         {1, 1, 0, 2, 2, 1, 1, 2, 0, 0, 0, 2, 3, 0, 1, 3, 0, 1},
         {{0, 0, 0, 3}, {0, 0, 0, 2}, {1, 0, 0, 0}}},
        {"early end of picture", 2, 3, {2, 1, 0, 1, 2, 2}, {{0, 0}, {0, 0}, {1, 1}}},
        {"no end codes: the height's rows", 2, 2, {2, 1, 0, 0, 2, 2, 0, 0, 2, 9}, {{2, 2}, {1, 1}}},
        {"cells past the edges dropped",
         2,
         2,
         {5, 1, 0, 4, 2, 2, 2, 2, 0, 2, 200, 0, 3, 3, 0, 2, 0, 9, 7, 7},
         {{0, 0}, {1, 1}}},
        {"ends early", 3, 2, {3, 1, 0, 0, 1, 2}, {{2, 0, 0}, {1, 1, 1}}, true},
        {"ends in an absolute run", 3, 1, {0, 3, 4, 5}, {{4, 5, 0}}, true},
        {"ends in a delta", 3, 1, {1, 4, 0, 2, 1}, {{4, 0, 0}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IndexImage image;
        const BmpReadResult result =
            readPicture(handLaidBmp(c.width, c.height, 8, 1, c.data), image);
        EXPECT_EQ(result.status, BmpReadStatus::ok);
        EXPECT_EQ(result.height, std::abs(c.height));
        EXPECT_EQ(result.dataTruncated, c.truncated);
        EXPECT_EQ(gridOf(image, c.width, std::abs(c.height)), c.expected);
    }
}

// Rows of indices (8 bits) or of colours of the test palette, each padded to four bytes with
// 0xEE, which is no pixel.
ByteVector uncompressedRows(const Grid& rowsInFileOrder, int bitCount) {
    const Palette palette = test::distinctPalette();
    ByteVector data;
    for (const auto& row : rowsInFileOrder) {
        for (const int index : row) {
            const std::uint32_t colour = palette.entries[index];
            if (bitCount == 8)
                data.push_back(static_cast<std::uint8_t>(index));
            else
                data.insert(data.end(),
                            {Palette::blue(colour), Palette::green(colour), Palette::red(colour)});
            if (bitCount == 32)
                data.push_back(0xEE);
        }
        while (data.size() % 4 != 0)
            data.push_back(0xEE);
    }
    return data;
}

TEST(BmpRead, UncompressedRowsWithPadding) {
    for (const int bitCount : {8, 24, 32})
        for (int width = 1; width <= 4; ++width)
            for (const bool topDown : {false, true}) {
                SCOPED_TRACE(testing::Message() << bitCount << " bits, width " << width
                                                << (topDown ? ", top-down" : ""));
                Grid rows(3, std::vector<int>(width));
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        rows[y][x] = 1 + x + 10 * y;
                const Grid inFile = topDown ? rows : Grid(rows.rbegin(), rows.rend());
                IndexImage image;
                const ByteVector file = handLaidBmp(width, topDown ? -3 : 3, bitCount, 0,
                                                    uncompressedRows(inFile, bitCount));
                EXPECT_FALSE(readPicture(file, image).dataTruncated);
                EXPECT_EQ(gridOf(image, width, 3), rows);
            }
    // Data ending inside the second row keeps the first row and one pixel.
    IndexImage image;
    ByteVector data = uncompressedRows({{3, 4}, {5, 6}}, 24);
    data.resize(8 + 3);
    EXPECT_TRUE(readPicture(handLaidBmp(2, 2, 24, 0, data), image).dataTruncated);
    EXPECT_EQ(gridOf(image, 2, 2), (Grid{{5, 0}, {3, 4}}));
}

TEST(BmpRead, RefusedAndDamagedPictures) {
    const std::tuple<std::int32_t, std::int32_t, int, std::uint32_t, BmpReadStatus> cases[] = {
        {1, 1, 4, 2, BmpReadStatus::unsupportedFormat},
        {1, 1, 32, 3, BmpReadStatus::unsupportedFormat},
        {1, 1, 16, 0, BmpReadStatus::unsupportedFormat},
        {256, -256, 8, 1, BmpReadStatus::ok},
        {257, 1, 8, 1, BmpReadStatus::tooLarge},
        {1, -257, 8, 1, BmpReadStatus::tooLarge},
        {1, std::numeric_limits<std::int32_t>::min(), 8, 1, BmpReadStatus::tooLarge},
        {300, 1, 4, 2, BmpReadStatus::tooLarge}, // told before the format
        {-3, 5, 24, 0, BmpReadStatus::badHeaders},
    };
    IndexImage image;
    for (const auto& [width, height, bitCount, compression, status] : cases)
        EXPECT_EQ(
            readPicture(handLaidBmp(width, height, bitCount, compression, {1, 1, 0, 1}), image)
                .status,
            status)
            << width << " x " << height << ", " << bitCount << " bits, " << compression;

    ByteVector file = handLaidBmp(2, 2, 8, 1, {2, 1, 0, 1});
    EXPECT_EQ(readPicture(ByteVector(file.begin(), file.begin() + 53), image).status,
              BmpReadStatus::truncated);
    putU32(file, 10, 5000); // pixel data past the end of the file
    const BmpReadResult past = readPicture(file, image);
    EXPECT_TRUE(past.status == BmpReadStatus::ok && past.dataTruncated);
    EXPECT_EQ(gridOf(image, 2, 2), (Grid{{0, 0}, {0, 0}}));
    for (const std::uint32_t inside : {0u, 14u, 53u}) { // pixels said to start in the headers
        putU32(file, 10, inside);
        EXPECT_EQ(readPicture(file, image).status, BmpReadStatus::badHeaders) << inside;
    }
}

} // namespace
} // namespace pixmorph
