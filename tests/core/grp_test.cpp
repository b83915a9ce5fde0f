#include "core_test_files.h"

#include <algorithm>
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

Cells gap(std::size_t zeros) { // 7, `zeros` transparent cells, 7
    Cells row(zeros + 2, 0);
    row.front() = row.back() = 7;
    return row;
}

TEST(GrpEncode, RowStreamsForTheRunsThatMatter) {
    Cells seventy(70);
    ByteVector literal70{0x3F};
    for (std::uint8_t i = 1; i <= 70; ++i)
        seventy[i - 1] = i, literal70.push_back(i);
    literal70.insert(literal70.begin() + 64, 0x07);
    // clang-format off
    const std::vector<std::pair<std::vector<Cells>, std::vector<ByteVector>>> cases = {
        // image rows -> every row stream of the box, the closing row included
        {{gap(62)}, {{1, 7, 0x80 + 62, 1, 7}, {0xBF, 0x81}}},
        {{gap(125)}, {{1, 7, 0xBF, 0xBE, 1, 7}, {0xBF, 0xBF, 0x81}}},
        {{{7, 7}, {}, {0, 8}}, {{0x42, 7}, {0x82}, {0x81, 1, 8}, {0x82}}},
        {{Cells(64, 5)}, {{0x7F, 5, 0x41, 5}, {0xBF, 0x81}}},
        {{seventy}, {literal70, {0xBF, 0x87}}},
        {{{5, 7, 0, 0, 9}}, {{2, 5, 7, 0x82, 1, 9}, {0x85}}},
        {{{1, 2, 3, 3}}, {{2, 1, 2, 0x42, 3}, {0x84}}},
    }; // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(encodedRows(cases[i].first), cases[i].second) << "case " << i;
}

TEST(GrpEncode, BoxLimits) {
    const std::tuple<std::vector<std::pair<int, int>>, GrpWriteError, FrameEntry> cases[] = {
        {{{0, 0}, {255, 0}}, GrpWriteError::boxTooLarge, {}},
        {{{0, 0}, {0, 254}}, GrpWriteError::boxTooLarge, {}}, // 255 rows and the closing row
        {{{255, 255}, {299, 299}}, GrpWriteError::none, {255, 255, 45, 46, 0}},
        {{{0, 256}}, GrpWriteError::offsetTooLarge, {}},
    };
    for (const auto& [pixels, error, entry] : cases) {
        IndexImage image;
        for (auto [x, y] : pixels)
            image.set(x, y, 1);
        const FrameBox box = findFrameBox(image, 300, 300);
        EXPECT_EQ(box.error, error);
        EXPECT_EQ(box.entry, entry);
    }
    // A lone pixel every other cell: 383 bytes a row of 255 cells, too many for 254 rows.
    IndexImage image;
    for (int y = 0; y < 254; ++y)
        for (int x = 0; x < 255; x += 2)
            image.set(x, y, 1 + y % 200);
    EXPECT_EQ(encodeFrameData(image, findFrameBox(image, 300, 300)).error,
              GrpWriteError::rowOffsetOverflow);
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
    IndexImage wide; // 300 columns
    wide.set(0, 0, 1), wide.set(299, 0, 1);
    SpriteWriter writer(1);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::badDuplicate);
    const ByteVector before = writer.bytesSoFar();
    EXPECT_EQ(writer.addFrame(wide, 300, 1), GrpWriteError::boxTooLarge);
    EXPECT_EQ(writer.bytesSoFar(), before);
    EXPECT_EQ(writer.addFrame(IndexImage{}, 1, 1), GrpWriteError::none);
    EXPECT_EQ(writer.addFrame(IndexImage{}, 2, 2), GrpWriteError::tooManyFrames);

    // The frame count is 16 bits: a longer list stops at 65535 frames.
    SpriteWriter many(70000);
    ASSERT_EQ(many.addFrame(wide, 8, 8), GrpWriteError::none);
    while (many.addDuplicate(0) == GrpWriteError::none) {
    }
    EXPECT_EQ(readSpriteHeader(many.finish())->frameCount, 65535);
}

using namespace test;
using Stores = std::map<std::pair<int, int>, int>;

TEST(GrpDecode, OpcodesThatProduceNothingOrPassTheWidth) {
    const std::tuple<std::uint8_t, ByteVector, Stores> cases[] = {
        {2, {0x00, 0x40, 4, 0x80, 0x02, 5, 6}, {{{0, 0}, 5}, {{1, 0}, 6}}}, // empty opcodes
        {3, {0x03, 5, 0, 9}, {{{0, 0}, 5}, {{1, 0}, 0}, {{2, 0}, 9}}},      // a stored 0 is a store
        {3, // the last run passes the width and ends the row
         {0x02, 1, 2, 0x43, 8, 0x01, 99},
         {{{0, 0}, 1}, {{1, 0}, 2}, {{2, 0}, 8}, {{3, 0}, 8}, {{4, 0}, 8}}},
        {2, {0x85, 0x01, 99}, {}}, // a skip past the width ends the row
    };
    for (const auto& [width, row, stores] : cases) {
        const ByteVector file = handLaidSprite(10, 10, {{0, 0, width, 1, {row}}});
        StoreLog log;
        EXPECT_EQ(decodeFrameRows(file, *readFrameEntry(file, 0), log), DecodeStatus::complete);
        EXPECT_EQ(log.stores, stores) << int(row[0]);
        EXPECT_EQ(log.count, static_cast<int>(stores.size()));
    }
    EXPECT_EQ(readFrameEntry(handLaidSprite(1, 1, {{0, 0, 1, 1, {{0x01, 5}}}}), SIZE_MAX / 8),
              std::nullopt);
}

TEST(GrpDecode, FramesAreClippedToTheCanvas) {
    ByteVector run; // 315 columns from x = 250: passes the canvas's right edge
    for (int i = 0; i < 5; ++i)
        run.insert(run.end(), {0x7F, static_cast<std::uint8_t>(10 + i)});
    const ByteVector file =
        handLaidSprite(300, 300, {{1, 1, 0, 2, {{}, {}}}, {250, 255, 255, 3, {run, run, run}}});
    FrameCanvas canvas;
    canvas.set(1, 1, 77);
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 0), canvas), DecodeStatus::complete);
    EXPECT_EQ(canvas.at(1, 1), 0);
    // Pixels right of column 511 and below row 256 are dropped, not wrapped round.
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 1), canvas), DecodeStatus::complete);
    EXPECT_EQ(canvas.at(250, 255), 10);
    EXPECT_EQ(canvas.at(511, 256), 14);
    EXPECT_EQ(canvas.at(0, 0) + canvas.at(249, 256), 0);
}

// The export's bitmap is the sprite's size; the canvas tells which frames would lose pixels
// to it. Picture row t is canvas row t + 1. One canvas serves every case, as in an export, and
// after each one holds that frame's pixels only.
TEST(ExportCanvas, PixelsOutsideTheSpritesPictureAreFound) {
    const std::tuple<std::uint8_t, std::uint8_t, std::uint8_t, ByteVector, bool, int> cases[] = {
        {12, 15, 4, {0x44, 7}, false, 4},              // ends in the bottom right pixel
        {13, 15, 4, {0x44, 7}, true, 4},               // one column too far
        {12, 16, 4, {0x44, 7}, true, 4},               // one row too far
        {13, 0, 4, {0x04, 1, 2, 3, 0}, false, 3},      // only a transparent 0 falls outside
        {0, 0, 17, {0x90, 0x01, 5}, true, 1},          // a skip carries a pixel past the right edge
        {10, 2, 4, {0x03, 1, 2, 3, 0x45, 9}, true, 8}, // the last run passes the box and the edge
        {0, 1, 2, {0x01, 5, 0x44, 6}, false, 5},       // the last run passes the box, not the edge
        {0, 3, 1, {0x01, 5}, false, 1}, // after the others: nothing of theirs is left
    };
    ExportCanvas canvas;
    for (const auto& [x, y, width, row, outside, drawn] : cases) {
        const ByteVector file = handLaidSprite(16, 16, {{x, y, width, 1, {row}}});
        EXPECT_EQ(decodeFrameForExport(file, *readFrameEntry(file, 0), canvas),
                  DecodeStatus::complete);
        EXPECT_EQ(canvas.drawnOutside(16, 16), outside) << int(x) << ' ' << int(y);
        int cells = 0;
        for (int r = 0; r < ExportCanvas::kSize; ++r)
            cells += static_cast<int>(std::count_if(canvas.row(r),
                                                    canvas.row(r) + ExportCanvas::kColumns,
                                                    [](std::uint8_t v) { return v != 0; }));
        EXPECT_EQ(cells, drawn) << int(x) << ' ' << int(y);
    }
    // A frame past the picture is refused in the malformed-input suite; one at its corner is not.
    const ByteVector corner = handLaidSprite(256, 256, {{255, 255, 1, 1, {{0x01, 5}}}});
    decodeFrameForExport(corner, *readFrameEntry(corner, 0), canvas);
    EXPECT_FALSE(canvas.overflowed());
}

} // namespace
} // namespace pixmorph
