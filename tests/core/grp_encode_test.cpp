#include "core_test_files.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using Cells = std::vector<std::uint32_t>;

// The row streams of the encoded image, split by the row offset table.
std::vector<ByteVector> encodedRows(const std::vector<Cells>& rows) {
    IndexImage image;
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            image.set(static_cast<int>(x), static_cast<int>(y), rows[y][x]);
    const FrameBox box = findFrameBox(image, IndexImage::kSize, IndexImage::kSize);
    const ByteVector data = encodeFrameData(image, box).data;
    std::vector<ByteVector> streams;
    for (int r = 0; r < box.entry.height; ++r) {
        const std::size_t end = r + 1 < box.entry.height ? *readU16(data, 2 * r + 2) : data.size();
        streams.emplace_back(data.begin() + *readU16(data, 2 * r), data.begin() + end);
    }
    return streams;
}

// 7, then `zeros` transparent cells, then 7.
Cells gap(std::size_t zeros) {
    Cells row(zeros + 2, 0);
    row.front() = row.back() = 7;
    return row;
}

TEST(GrpEncode, RowStreamsForTheRunsThatMatter) {
    Cells seventy(70);
    ByteVector literal70{0x3F};
    for (std::uint8_t i = 1; i <= 70; ++i) {
        seventy[i - 1] = i;
        literal70.push_back(i);
    }
    literal70.insert(literal70.begin() + 64, 0x07);
    struct Case {
        const char* what;
        std::vector<Cells> image;
        std::vector<ByteVector> streams; // every row of the box, the closing row included
    };
    const std::vector<Case> cases = {
        {"63 transparent cells", {gap(61)}, {{1, 7, 0x80 + 61, 1, 7}, {0xBF}}},
        {"64 transparent cells", {gap(62)}, {{1, 7, 0x80 + 62, 1, 7}, {0xBF, 0x81}}},
        {"127 transparent cells", {gap(125)}, {{1, 7, 0xBF, 0xBE, 1, 7}, {0xBF, 0xBF, 0x81}}},
        {"a transparent row inside the box",
         {{7, 7}, {}, {0, 8}},
         {{0x42, 7}, {0x82}, {0x81, 1, 8}, {0x82}}},
        {"63 equal cells", {Cells(63, 5)}, {{0x7F, 5}, {0xBF}}},
        {"64 equal cells", {Cells(64, 5)}, {{0x7F, 5, 0x41, 5}, {0xBF, 0x81}}},
        {"two equal cells", {{5, 5}}, {{0x42, 5}, {0x82}}},
        {"a literal of 70", {seventy}, {literal70, {0xBF, 0x87}}},
        {"a lone pixel before a non-zero cell", {{4, 0, 6}}, {{1, 4, 0x81, 1, 6}, {0x83}}},
        {"5 7 0 9 9 0 0",
         {{5, 7, 0, 9, 9}, {0, 0, 0, 0, 0, 0, 3}},
         {{3, 5, 7, 0, 0x42, 9, 0x82}, {0x86, 1, 3}, {0x87}}},
        {"a literal stops before two zeros", {{5, 7, 0, 0, 9}}, {{2, 5, 7, 0x82, 1, 9}, {0x85}}},
        {"a literal stops before a repeat", {{1, 2, 3, 3}}, {{2, 1, 2, 0x42, 3}, {0x84}}},
        {"a literal ends at the box's edge", {{1, 2, 0, 3}}, {{4, 1, 2, 0, 3}, {0x84}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(encodedRows(c.image), c.streams);
    }
}

TEST(GrpEncode, TheLargestBoxesFitAndLargerOnesAreRefused) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> pixels;
        GrpWriteError error;
        FrameEntry entry;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
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
    // A lone pixel every other cell costs 3 bytes per 2 cells: 383 bytes a row of 255 cells,
    // so 160 rows fit in 65535 bytes and 254 do not.
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

// The box is found from the extents of the cells set on each row, which may be wider than the
// non-zero cells (a cell set back to 0, zeros stored by a run) or reach past the picture.
TEST(GrpEncode, FrameBoxMatchesEveryNonZeroCellWhateverWasSet) {
    std::srand(7);
    const std::uint8_t zeros[40] = {};
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(trial);
        IndexImage image;
        const int width = 1 + std::rand() % 280, height = 1 + std::rand() % 280;
        for (int i = std::rand() % 12; i > 0; --i) {
            const int x = std::rand() % 320 - 10, y = std::rand() % 300, kind = std::rand() % 4;
            const std::uint32_t value = std::rand() % 3 == 0 ? 0 : 1 + std::rand() % 300;
            if (kind == 0)
                image.set(x, y, value);
            else if (kind == 1)
                image.fillRow(x, y, value, std::rand() % 40);
            else if (kind == 2)
                image.copyRow(x, y, zeros, std::rand() % 40);
            else
                image.set(x, y, 5), image.set(x, y, 0);
        }
        int minX = 999, minY = 999, maxX = -1, maxY = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (image.at(x, y) != 0) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        const FrameBox box = findFrameBox(image, width, height);
        EXPECT_EQ(box.empty, maxX < 0);
        if (maxX >= 0 && box.error == GrpWriteError::none) {
            EXPECT_EQ(box.entry,
                      (FrameEntry{static_cast<std::uint8_t>(minX), static_cast<std::uint8_t>(minY),
                                  static_cast<std::uint8_t>(maxX - minX + 1),
                                  static_cast<std::uint8_t>(maxY - minY + 2), 0}));
        }
        image.clear();
        EXPECT_EQ(image, IndexImage{});
    }
    // A box reaching past the image reads the cells outside as 0.
    IndexImage image;
    image.set(299, 299, 4);
    FrameBox outside;
    outside.entry = FrameEntry{250, 250, 255, 55, 0};
    const ByteVector data = encodeFrameData(image, outside).data;
    // 55 rows of 255 cells: 63, 63, 63, 63 and 3 transparent ones, but row 49, at image row
    // 299, holds 49 transparent cells, the 4, then 205 transparent ones.
    ASSERT_EQ(data.size(), 2u * 55 + 55 * 5 + 2);
    EXPECT_EQ(ByteVector(data.begin() + 110 + 49 * 5, data.begin() + 110 + 49 * 5 + 7),
              (ByteVector{0x80 + 49, 1, 4, 0xBF, 0xBF, 0xBF, 0x80 + 16}));
}

TEST(SpriteWriter, WholeFileLayout) {
    IndexImage dot;
    dot.set(10, 20, 42);
    dot.set(64, 80, 43); // outside the image's stated size: ignored
    SpriteWriter writer(3);
    EXPECT_EQ(writer.addFrame(dot, 64, 81), GrpWriteError::none);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::none);
    writer.noteImageSize(90, 10); // a refused image still counts for the header
    // No non-zero cell: a 1 x 1 box at the corner whose one row is a single skip.
    EXPECT_EQ(writer.addFrame(IndexImage{}, 96, 40), GrpWriteError::none);

    ByteVector expected = {3,  0,  96, 0, 81, 0, // count, largest width, largest height
                           10, 20, 1,  2, 41, 0, 0, 0, 10, 20, 1, 2,
                           41, 0,  0,  0, 0,  0, 1, 1, 48, 0,  0, 0};
    expected.insert(expected.end(), kMakerTag.begin(), kMakerTag.end());
    expected.insert(expected.end(), {4, 0, 6, 0, 0x01, 42, 0x81, 2, 0, 0x81}); // at 41 and 48
    EXPECT_EQ(writer.finish(), expected);
}

TEST(SpriteWriter, RefusalsLeaveTheFileAsItWas) {
    IndexImage wide;
    wide.set(0, 0, 1);
    wide.set(299, 0, 1);
    SpriteWriter writer(2);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::badDuplicate);
    const ByteVector before = writer.bytesSoFar();
    EXPECT_EQ(writer.addFrame(wide, 300, 1), GrpWriteError::boxTooLarge);
    EXPECT_EQ(writer.bytesSoFar(), before);
    EXPECT_EQ(writer.addFrame(IndexImage{}, 1, 1), GrpWriteError::none);
    EXPECT_EQ(writer.addDuplicate(1), GrpWriteError::badDuplicate);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::none);
    EXPECT_EQ(writer.addFrame(IndexImage{}, 1, 1), GrpWriteError::tooManyFrames);
    EXPECT_EQ(writer.framesAdded(), 2u);

    // The frame count is 16 bits: a longer list stops at 65535 frames.
    for (std::size_t declared : {830u, 70000u}) {
        SpriteWriter many(declared);
        ASSERT_EQ(many.addFrame(wide, 8, 8), GrpWriteError::none);
        while (many.addDuplicate(0) == GrpWriteError::none) {
        }
        const std::size_t held = std::min<std::size_t>(declared, 65535);
        const ByteVector file = many.finish();
        EXPECT_EQ(readSpriteHeader(file)->frameCount, held);
        FrameCanvas canvas;
        decodeFrame(file, *readFrameEntry(file, held - 1), canvas);
        EXPECT_EQ(canvas.at(0, 0), 1);
    }
}

} // namespace
} // namespace pixmorph
