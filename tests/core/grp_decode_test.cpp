#include "core_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using test::handLaidSprite;
using test::StoreLog;
using Stores = std::map<std::pair<int, int>, int>;

TEST(GrpRead, HeaderAndEntriesAreBoundedByTheData) {
    const ByteVector file = handLaidSprite(0x1234, 0x0201, {{7, 9, 0, 0, {}}, {1, 2, 3, 0, {}}});
    EXPECT_EQ(readSpriteHeader(file), (SpriteHeader{2, 0x1234, 0x0201}));
    EXPECT_EQ(readSpriteHeader(Bytes(file).first(5)), std::nullopt);
    EXPECT_EQ(readFrameEntry(file, 1), (FrameEntry{1, 2, 3, 0, 22}));
    EXPECT_EQ(readFrameEntry(Bytes(file).first(21), 1), std::nullopt);
    for (std::size_t pastTheEnd : {std::size_t{2}, SIZE_MAX, SIZE_MAX / 8})
        EXPECT_EQ(readFrameEntry(file, pastTheEnd), std::nullopt);
}

TEST(GrpDecode, EveryOpcodeKind) {
    struct Case {
        const char* what;
        std::uint8_t width;
        ByteVector row;
        Stores stores; // (column, 0) -> value
    };
    std::vector<Case> cases = {
        {"0x00 produces nothing", 2, {0x00, 0x02, 5, 6}, {{{0, 0}, 5}, {{1, 0}, 6}}},
        {"0x80 skips nothing", 2, {0x80, 0x01, 7, 0x81}, {{{0, 0}, 7}}},
        {"0xBF skips 63", 64, {0xBF, 0x41, 3}, {{{63, 0}, 3}}},
        {"0xFF skips 127", 128, {0xFF, 0x01, 9}, {{{127, 0}, 9}}},
        {"0x40 repeats nothing", 1, {0x40, 4, 0x41, 6}, {{{0, 0}, 6}}},
        {"a stored 0 is a store", 3, {0x03, 5, 0, 9}, {{{0, 0}, 5}, {{1, 0}, 0}, {{2, 0}, 9}}},
        {"the last run passes the width and ends the row",
         3,
         {0x02, 1, 2, 0x43, 8, 0x01, 99},
         {{{0, 0}, 1}, {{1, 0}, 2}, {{2, 0}, 8}, {{3, 0}, 8}, {{4, 0}, 8}}},
        {"a skip past the width ends the row", 2, {0x85, 0x01, 99}, {}},
        {"0x7F repeats 63", 63, {0x7F, 4}, {}},
        {"0x3F is a literal of 63", 63, {0x3F}, {}},
    };
    for (int i = 0; i < 63; ++i) {
        cases[8].stores[{i, 0}] = 4;
        cases[9].row.push_back(static_cast<std::uint8_t>(100 + i));
        cases[9].stores[{i, 0}] = 100 + i;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ByteVector file = handLaidSprite(10, 10, {{0, 0, c.width, 1, {c.row}}});
        StoreLog log;
        EXPECT_EQ(decodeFrameRows(file, *readFrameEntry(file, 0), log), DecodeStatus::complete);
        EXPECT_EQ(log.stores, c.stores);
        EXPECT_EQ(log.count, static_cast<int>(c.stores.size()));
    }
}

TEST(GrpDecode, FramesLandInTheCanvasAtTheirOffsets) {
    ByteVector run; // 315 columns from x = 250: passes the canvas's right edge
    for (int i = 0; i < 5; ++i)
        run.insert(run.end(), {0x7F, static_cast<std::uint8_t>(10 + i)});
    ByteVector file = handLaidSprite(300, 300,
                                     {{2, 3, 3, 2, {{0x01, 4, 0x42, 5}, {0x81, 0x02, 6, 7}}},
                                      {0, 1, 3, 2, {}},
                                      {1, 1, 0, 2, {{}, {}}}, // zero width: rows never read
                                      {1, 1, 3, 0, {}},
                                      {250, 255, 255, 3, {run, run, run}}});
    putU32(file, 6 + 8 + 4, *readU32(file, 6 + 4)); // frame 1 shares frame 0's data
    FrameCanvas first, second, canvas;
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 0), first), DecodeStatus::complete);
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 1), second), DecodeStatus::complete);
    EXPECT_EQ(first.at(2, 3), 4);
    EXPECT_EQ(first.at(4, 3), 5);
    EXPECT_EQ(first.at(4, 4), 7);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(first.at(2 + x, 3 + y), second.at(x, 1 + y));
    for (std::size_t zeroSize : {2, 3}) {
        canvas.set(1, 1, 77);
        EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, zeroSize), canvas),
                  DecodeStatus::complete);
        EXPECT_EQ(canvas.at(1, 1), 0);
    }
    // Pixels right of column 511 and below row 256 are dropped, not wrapped round.
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 4), canvas), DecodeStatus::complete);
    EXPECT_EQ(canvas.at(250, 255), 10);
    EXPECT_EQ(canvas.at(511, 256), 14);
    EXPECT_EQ(canvas.at(0, 0) + canvas.at(249, 256), 0);
}

// Decodes every frame; true when any part of the file was missing.
bool decodeAll(Bytes file, std::vector<Stores>& frames) {
    const auto header = readSpriteHeader(file);
    for (std::size_t i = 0; header && i < header->frameCount; ++i) {
        const auto entry = readFrameEntry(file, i);
        if (!entry)
            return true;
        StoreLog log;
        const bool cut = decodeFrameRows(file, *entry, log) == DecodeStatus::truncated;
        frames.push_back(log.stores);
        if (cut)
            return true;
    }
    return !header;
}

TEST(GrpDecode, TruncationAtEveryByteIsReportedAndKeepsWhatWasDecoded) {
    const ByteVector file = handLaidSprite(
        6, 6,
        {{0, 0, 4, 2, {{0x02, 1, 2, 0x42, 3}, {0x81, 0x43, 4}}},
         {1, 1, 3, 3, {{0x80, 0x00, 0x83}, {0x03, 5, 0, 6}, {0x41, 7, 0x02, 8, 9}}}});
    std::vector<Stores> whole;
    ASSERT_FALSE(decodeAll(file, whole));
    for (std::size_t length = 0; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        std::vector<Stores> part;
        EXPECT_TRUE(decodeAll(Bytes(file).first(length), part));
        for (std::size_t f = 0; f < part.size(); ++f)
            for (auto [cell, value] : part[f])
                EXPECT_EQ(whole[f].at(cell), value);
    }
}

// Rows that share one long stream of opcodes that produce no pixel would each read it to its
// end; a row idles at most 256 opcodes, far more than any writer pads.
TEST(GrpDecode, RowsThatIdleOnNoPixelOpcodesAreRefused) {
    for (const ByteVector& idle : {ByteVector{0x00}, ByteVector{0x40, 5}, ByteVector{0x80}})
        for (const int count : {256, 257}) {
            ByteVector row;
            for (int i = 0; i < count; ++i)
                row.insert(row.end(), idle.begin(), idle.end());
            row.insert(row.end(), {0x41, 9});
            const ByteVector file = handLaidSprite(4, 4, {{0, 0, 1, 1, {row}}});
            StoreLog sink;
            EXPECT_EQ(decodeFrameRows(file, *readFrameEntry(file, 0), sink),
                      count > 256 ? DecodeStatus::idling : DecodeStatus::complete)
                << int(idle[0]) << " x " << count;
            EXPECT_EQ(sink.count, count > 256 ? 0 : 1);
        }
}

// Sprites made by other tools are decoded by the round trip of the jobs.

} // namespace
} // namespace pixmorph
