#include "core/grp_compact_writer.h"
#include "core_test_files.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace pixmorph {
namespace {

using namespace test;
using Cells = std::vector<std::uint32_t>;

struct Picture {
    int left = 0, top = 0;
    std::vector<Cells> rows;
};

// The sprite the compile writes for the pictures, in a 300 x 300 sprite.
ByteVector defaultSprite(const std::vector<Picture>& pictures) {
    SpriteWriter writer(pictures.size());
    IndexImage image;
    for (const Picture& picture : pictures) {
        image.clear();
        for (std::size_t y = 0; y < picture.rows.size(); ++y)
            for (std::size_t x = 0; x < picture.rows[y].size(); ++x)
                image.set(picture.left + static_cast<int>(x), picture.top + static_cast<int>(y),
                          picture.rows[y][x]);
        EXPECT_EQ(writer.addFrame(image, IndexImage::kSize, IndexImage::kSize),
                  GrpWriteError::none);
    }
    return writer.finish();
}

// The compact sprite, checked to draw every frame as the default one does, and to be smaller.
ByteVector compactChecked(const ByteVector& sprite) {
    const ByteVector compact = compactSprite(sprite);
    EXPECT_TRUE(drawsTheSameInFewerBytes(compact, sprite));
    return compact;
}

// Where the stream of row r of frame i starts in the file.
std::size_t rowStart(const ByteVector& sprite, std::size_t i, int r) {
    const FrameEntry entry = readFrameEntry(sprite, i).value();
    return entry.dataOffset + *readU16(sprite, entry.dataOffset + 2 * r);
}

TEST(CompactSprite, RowsTakeTheShortestOpcodesAndLoseTheClosingRow) {
    Cells gap200(202, 0);
    gap200.front() = gap200.back() = 7;
    // clang-format off
    const std::vector<std::pair<Cells, ByteVector>> cases = {
        {{1, 2, 2, 3}, {0x04, 1, 2, 2, 3}},               // one literal, not three opcodes
        {gap200, {0x01, 7, 0xFF, 0xC9, 0x01, 7}},         // skips of up to 127
        {Cells(70, 9), {0x7F, 9, 0x47, 9}},
        {{5, 7, 0, 9, 9}, {0x03, 5, 7, 0, 0x42, 9}},      // the stored 0 stays stored
    }; // clang-format on
    for (const auto& [cells, row] : cases) {
        const ByteVector compact = compactChecked(defaultSprite({{0, 0, {cells}}}));
        const FrameEntry entry = readFrameEntry(compact, 0).value();
        EXPECT_EQ(entry.height, 1);
        EXPECT_EQ(ByteVector(compact.begin() + entry.dataOffset + 2, compact.end()), row);
    }
    // No maker tag: the data follows the table.
    EXPECT_EQ(readFrameEntry(compactSprite(defaultSprite({{3, 4, {{1}}}})), 0),
              (FrameEntry{3, 4, 1, 1, std::uint32_t{kSpriteHeaderSize + kFrameEntrySize}}));
}

TEST(CompactSprite, FramesAndRowsAreShared) {
    const std::vector<Cells> shape = {{1, 2, 3}, {4, 4, 4}, {1, 2, 3}, {5, 0, 0}};
    const Picture narrow{0, 9, {{5}}}; // its row begins the last row of the shape
    const ByteVector sprite = defaultSprite({{0, 0, shape}, narrow, {0, 0, shape}, {8, 0, shape}});
    const ByteVector compact = compactChecked(sprite);
    const auto offset = [&](std::size_t i) { return readFrameEntry(compact, i)->dataOffset; };
    EXPECT_EQ(offset(0), offset(2));
    // At another place a frame keeps a table of its own, which an export tells apart.
    EXPECT_NE(offset(0), offset(3));
    std::set<std::size_t> starts;
    for (std::size_t frame : {0, 3})
        for (int r = 0; r < 4; ++r)
            starts.insert(rowStart(compact, frame, r));
    EXPECT_EQ(starts.size(), 3u);
    EXPECT_EQ(rowStart(compact, 1, 0), rowStart(compact, 0, 3));
}

// Rows of noise that many frames share: far more than a row offset reaches from the first
// frame, so the frames are laid out in groups whose rows each reach.
TEST(CompactSprite, EveryRowReachesFromItsFrameBeyondSixtyFourKilobytes) {
    std::mt19937 rng(5);
    std::vector<Cells> rows(800, Cells(200));
    for (Cells& row : rows)
        for (std::uint32_t& cell : row)
            cell = 1 + rng() % 250;
    std::vector<Picture> pictures(12);
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t r = 0; r < 200; ++r)
            pictures[i].rows.push_back(rows[(i * 37 + r * r) % rows.size()]);
    const ByteVector compact = compactChecked(defaultSprite(pictures));
    EXPECT_GT(compact.size(), 2u * 65536);
}

TEST(CompactSprite, WhatItCannotTakeWholeComesBackAsItWas) {
    const std::vector<ByteVector> sprites = {
        handLaidSprite(8, 8, {{0, 0, 2, 1, {{0x43, 5}}}}), // a run past the box
        handLaidSprite(8, 8, {{0, 0, 2, 1, {{0x01}}}}),    // cut short
        handLaidSprite(8, 8, {{0, 0, 0, 1, {{}}}}),        // no width
        {1, 0, 8, 0, 8, 0, 0, 0},                          // the table cut short
    };
    for (const ByteVector& sprite : sprites)
        EXPECT_EQ(compactSprite(sprite), sprite);
}

} // namespace
} // namespace pixmorph
