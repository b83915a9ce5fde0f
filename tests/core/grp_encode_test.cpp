#include "core/grp_format.h"

#include <gtest/gtest.h>
#include <numeric>

namespace pixmorph {
namespace {

using Cells = std::vector<std::uint32_t>;

IndexImage imageOf(const std::vector<Cells>& rows, int left = 0, int top = 0) {
    IndexImage image;
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            image.set(left + static_cast<int>(x), top + static_cast<int>(y), rows[y][x]);
    return image;
}

// The row streams of the encoded image, split by the row offset table.
std::vector<ByteVector> encodedRows(const std::vector<Cells>& rows) {
    const IndexImage image = imageOf(rows);
    const FrameBox box = findFrameBox(image, IndexImage::kSize, IndexImage::kSize);
    const EncodedFrame frame = encodeFrameData(image, box);
    EXPECT_EQ(frame.error, GrpWriteError::none);
    std::vector<ByteVector> streams;
    for (int r = 0; r < box.entry.height; ++r) {
        const std::size_t begin = *readU16(frame.data, 2 * r);
        const std::size_t end =
            r + 1 < box.entry.height ? *readU16(frame.data, 2 * (r + 1)) : frame.data.size();
        streams.emplace_back(frame.data.begin() + begin, frame.data.begin() + end);
    }
    return streams;
}

Cells run(std::size_t count, std::uint32_t value) {
    return Cells(count, value);
}

Cells join(std::initializer_list<Cells> parts) {
    Cells out;
    for (const Cells& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

ByteVector counting(std::uint8_t from, std::uint8_t to) {
    ByteVector out(to - from + 1);
    std::iota(out.begin(), out.end(), from);
    return out;
}

ByteVector bytes(std::initializer_list<ByteVector> parts) {
    ByteVector out;
    for (const ByteVector& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

struct RowCase {
    const char* what;
    std::vector<Cells> image;
    std::vector<ByteVector> streams; // every row of the box, the closing row included
};

TEST(GrpEncode, RowStreamsForTheRunsThatMatter) {
    Cells seventy(70);
    std::iota(seventy.begin(), seventy.end(), 1u);
    const std::vector<RowCase> cases = {
        {"63 transparent cells", {join({{7}, run(61, 0), {7}})}, {{1, 7, 0x80 + 61, 1, 7}, {0xBF}}},
        {"64 transparent cells",
         {join({{7}, run(62, 0), {7}})},
         {{1, 7, 0x80 + 62, 1, 7}, {0xBF, 0x81}}},
        {"127 transparent cells",
         {join({{7}, run(125, 0), {7}})},
         {{1, 7, 0xBF, 0x80 + 62, 1, 7}, {0xBF, 0xBF, 0x81}}},
        {"a whole transparent row inside the box",
         {{7, 7}, {0, 0}, {0, 8}},
         {{0x42, 7}, {0x82}, {0x81, 1, 8}, {0x82}}},
        {"63 equal cells", {run(63, 5)}, {{0x7F, 5}, {0xBF}}},
        {"64 equal cells", {run(64, 5)}, {{0x7F, 5, 0x41, 5}, {0xBF, 0x81}}},
        {"127 equal cells", {run(127, 5)}, {{0x7F, 5, 0x7F, 5, 0x41, 5}, {0xBF, 0xBF, 0x81}}},
        {"two equal cells", {{5, 5}}, {{0x42, 5}, {0x82}}},
        {"a literal of 70",
         {seventy},
         {bytes({{0x3F}, counting(1, 63), {0x07}, counting(64, 70)}), {0xBF, 0x87}}},
        {"the lone pixel before a non-zero cell", {{4, 0, 6}}, {{1, 4, 0x81, 1, 6}, {0x83}}},
        {"5 7 0 9 9 0 0",
         {{5, 7, 0, 9, 9, 0, 0}, {0, 0, 0, 0, 0, 0, 3}},
         {{3, 5, 7, 0, 0x42, 9, 0x82}, {0x86, 1, 3}, {0x87}}},
        {"a literal stops before two zeros", {{5, 7, 0, 0, 9}}, {{2, 5, 7, 0x82, 1, 9}, {0x85}}},
        {"a literal stops before a repeat", {{1, 2, 3, 3}}, {{2, 1, 2, 0x42, 3}, {0x84}}},
        {"a literal ends at the box's edge", {{1, 2, 0, 3}}, {{4, 1, 2, 0, 3}, {0x84}}},
        {"values are written as they stand", {{255, 128, 128}}, {{1, 255, 0x42, 128}, {0x83}}},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(encodedRows(c.image), c.streams);
    }
}

TEST(GrpEncode, BoxesAndWholeFrameData) {
    IndexImage image;
    image.set(10, 20, 42);
    image.set(11, 21, 43); // outside the image's stated size: ignored
    FrameBox box = findFrameBox(image, 11, 21);
    EXPECT_EQ(box.entry, (FrameEntry{10, 20, 1, 2, 0}));
    EXPECT_FALSE(box.empty);
    EXPECT_EQ(encodeFrameData(image, box).data, (ByteVector{4, 0, 6, 0, 0x01, 42, 0x81}));

    // No non-zero cell: a 1 x 1 box at the corner whose one row is a single skip.
    IndexImage blank;
    blank.set(5, 5, 9);
    box = findFrameBox(blank, 5, 5);
    EXPECT_TRUE(box.empty);
    EXPECT_EQ(box.entry, (FrameEntry{0, 0, 1, 1, 0}));
    EXPECT_EQ(encodeFrameData(blank, box).data, (ByteVector{2, 0, 0x81}));
    EXPECT_TRUE(findFrameBox(blank, -1, 300).empty);
}

struct LimitCase {
    const char* what;
    std::vector<std::pair<int, int>> pixels;
    GrpWriteError error;
    FrameEntry entry;
};

TEST(GrpEncode, TheLargestBoxesFitAndLargerOnesAreRefused) {
    const std::vector<LimitCase> cases = {
        {"255 columns", {{0, 0}, {254, 0}}, GrpWriteError::none, {0, 0, 255, 2, 0}},
        {"256 columns", {{0, 0}, {255, 0}}, GrpWriteError::boxTooLarge, {}},
        {"254 rows and the closing row",
         {{0, 0}, {0, 253}},
         GrpWriteError::none,
         {0, 0, 1, 255, 0}},
        {"255 rows and the closing row", {{0, 0}, {0, 254}}, GrpWriteError::boxTooLarge, {}},
        {"box at (255, 255)", {{255, 255}, {299, 299}}, GrpWriteError::none, {255, 255, 45, 46, 0}},
        {"box at column 256", {{256, 0}}, GrpWriteError::offsetTooLarge, {}},
        {"box at row 256", {{0, 256}}, GrpWriteError::offsetTooLarge, {}},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.what);
        IndexImage image;
        for (auto [x, y] : c.pixels)
            image.set(x, y, 1);
        const FrameBox box = findFrameBox(image, 300, 300);
        EXPECT_EQ(box.error, c.error);
        EXPECT_EQ(box.entry, c.entry);
        const EncodedFrame frame = encodeFrameData(image, box);
        EXPECT_EQ(frame.error, c.error);
        EXPECT_EQ(frame.data.empty(), c.error != GrpWriteError::none);
    }
}

TEST(GrpEncode, RowsBeyondTheSixteenBitOffsetsAreRefused) {
    // A lone pixel every other cell costs 3 bytes per 2 cells: about 383 bytes a row, so 254
    // rows of 255 cells pass 65535 bytes; 160 rows still fit.
    for (int rows : {160, 254}) {
        IndexImage image;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < 255; x += 2)
                image.set(x, y, 1 + y % 200);
        const EncodedFrame frame = encodeFrameData(image, findFrameBox(image, 300, 300));
        EXPECT_EQ(frame.error,
                  rows == 160 ? GrpWriteError::none : GrpWriteError::rowOffsetOverflow);
        EXPECT_EQ(frame.data.empty(), rows != 160);
    }
}

} // namespace
} // namespace pixmorph
