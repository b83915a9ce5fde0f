#include "core/grp_format.h"
#include "grp_test_files.h"

#include <gtest/gtest.h>
#include <random>

namespace pixmorph {
namespace {

using test::HandFrame;
using test::handLaidSprite;
using test::RecordingSink;

TEST(GrpRead, HeaderAndEntriesAreBoundedByTheData) {
    const ByteVector file = handLaidSprite(0x1234, 0x0201, {{7, 9, 0, 0, {}}, {1, 2, 3, 0, {}}});
    EXPECT_EQ(readSpriteHeader(file), (SpriteHeader{2, 0x1234, 0x0201}));
    EXPECT_EQ(readSpriteHeader(Bytes(file).first(5)), std::nullopt);
    EXPECT_EQ(readSpriteHeader(Bytes{}), std::nullopt);

    EXPECT_EQ(readFrameEntry(file, 0), (FrameEntry{7, 9, 0, 0, 22}));
    EXPECT_EQ(readFrameEntry(file, 1), (FrameEntry{1, 2, 3, 0, 22}));
    EXPECT_EQ(readFrameEntry(file, 2), std::nullopt);
    EXPECT_EQ(readFrameEntry(Bytes(file).first(21), 1), std::nullopt);
    EXPECT_EQ(readFrameEntry(file, SIZE_MAX), std::nullopt);
    EXPECT_EQ(readFrameEntry(file, SIZE_MAX / 8), std::nullopt);
    EXPECT_EQ(readFrameEntry(Bytes(file).first(3), 0), std::nullopt);
}

struct OpcodeCase {
    const char* what;
    std::uint8_t width;
    ByteVector row;
    std::vector<std::pair<int, int>> stores; // (column, value) in row 0
};

std::vector<std::pair<int, int>> counted(int from, int count, int value) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < count; ++i)
        out.push_back({from + i, value});
    return out;
}

ByteVector literal63() {
    ByteVector row{0x3F};
    for (int i = 1; i <= 63; ++i)
        row.push_back(static_cast<std::uint8_t>(i));
    return row;
}

std::vector<std::pair<int, int>> literal63Stores() {
    std::vector<std::pair<int, int>> out;
    for (int i = 1; i <= 63; ++i)
        out.push_back({i - 1, i});
    return out;
}

TEST(GrpDecode, EveryOpcodeKind) {
    const std::vector<OpcodeCase> cases = {
        {"0x00 produces nothing and the next byte is an opcode",
         2,
         {0x00, 0x02, 5, 6},
         {{0, 5}, {1, 6}}},
        {"0x80 skips nothing", 2, {0x80, 0x01, 7, 0x81}, {{0, 7}}},
        {"0xBF skips 63", 64, {0xBF, 0x41, 3}, {{63, 3}}},
        {"0xFF skips 127", 128, {0xFF, 0x01, 9}, {{127, 9}}},
        {"0x7F repeats 63", 63, {0x7F, 4}, counted(0, 63, 4)},
        {"0x40 repeats nothing", 1, {0x40, 4, 0x41, 6}, {{0, 6}}},
        {"0x3F is a literal of 63", 63, literal63(), literal63Stores()},
        {"a stored 0 is a store", 3, {0x03, 5, 0, 9}, {{0, 5}, {1, 0}, {2, 9}}},
        {"the last run passes the width and ends the row",
         3,
         {0x02, 1, 2, 0x43, 8, 0x01, 99},
         {{0, 1}, {1, 2}, {2, 8}, {3, 8}, {4, 8}}},
        {"a skip past the width ends the row", 2, {0x85, 0x01, 99}, {}},
    };
    for (const OpcodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ByteVector file = handLaidSprite(10, 10, {{0, 0, c.width, 1, {c.row}}});
        RecordingSink sink;
        EXPECT_EQ(decodeFrameRows(file, *readFrameEntry(file, 0), sink), DecodeStatus::complete);
        std::map<std::pair<int, int>, int> expected;
        for (auto [column, value] : c.stores)
            expected[{column, 0}] = value;
        EXPECT_EQ(sink.stores, expected);
        EXPECT_EQ(sink.storeCount, static_cast<int>(c.stores.size()));
    }
}

TEST(GrpDecode, ZeroSizeFramesStoreNothing) {
    // Rows that are never read may be missing: a zero-width frame needs only its row offsets.
    const ByteVector file =
        handLaidSprite(4, 4, {{1, 1, 0, 2, {{}, {}}}, {1, 1, 3, 0, {}}, {0, 0, 0, 0, {}}});
    FrameCanvas canvas;
    for (std::size_t i = 0; i < 3; ++i) {
        canvas.set(1, 1, 77);
        EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, i), canvas), DecodeStatus::complete);
        EXPECT_EQ(canvas.at(1, 1), 0);
    }
}

TEST(GrpDecode, SharedDataOffsetsAndRowsDecodeAlike) {
    ByteVector file = handLaidSprite(
        8, 8, {{2, 3, 3, 2, {{0x01, 4, 0x42, 5}, {0x81, 0x02, 6, 7}}}, {0, 0, 0, 0, {}}});
    // Entry 1 shares entry 0's data but sits elsewhere in the sprite.
    file[14] = 0;
    file[15] = 1;
    file[16] = 3;
    file[17] = 2;
    putU32(file, 18, *readU32(file, 10));
    FrameCanvas first, second;
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 0), first), DecodeStatus::complete);
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 1), second), DecodeStatus::complete);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(first.at(2 + x, 3 + y), second.at(x, 1 + y));
    EXPECT_EQ(first.at(2, 3), 4);
    EXPECT_EQ(first.at(4, 3), 5);
    EXPECT_EQ(first.at(4, 4), 7);

    // Two rows of one frame may share one stream.
    ByteVector sharedRows = handLaidSprite(4, 4, {{0, 0, 2, 2, {{0x42, 9}, {}}}});
    putU16(sharedRows, 16, *readU16(sharedRows, 14));
    FrameCanvas canvas;
    EXPECT_EQ(decodeFrame(sharedRows, *readFrameEntry(sharedRows, 0), canvas),
              DecodeStatus::complete);
    EXPECT_EQ(canvas.at(1, 1), 9);
}

TEST(GrpDecode, PixelsOutsideTheCanvasAreDropped) {
    // Box at (250, 255), 255 wide, 3 rows, each row one long run that passes x = 511.
    ByteVector row;
    for (int i = 0; i < 4; ++i)
        row.insert(row.end(), {0x7F, 12});
    row.insert(row.end(), {0x7F, 13}); // reaches 315 columns, 565 in the canvas
    const ByteVector file = handLaidSprite(300, 300, {{250, 255, 255, 3, {row, row, row}}});
    FrameCanvas canvas;
    EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, 0), canvas), DecodeStatus::complete);
    EXPECT_EQ(canvas.at(250, 255), 12);
    EXPECT_EQ(canvas.at(511, 256), 13);
    EXPECT_EQ(canvas.at(249, 255), 0);
    EXPECT_EQ(canvas.at(512, 256), 0);
    EXPECT_EQ(canvas.at(300, 257), 0);
    EXPECT_EQ(canvas.at(0, 0), 0); // nothing wrapped round into the next column
}

// Decodes every frame of a file and reports whether any part of it was missing.
bool decodeAll(Bytes file, std::vector<std::map<std::pair<int, int>, int>>& frames) {
    auto header = readSpriteHeader(file);
    if (!header)
        return true;
    bool truncated = false;
    for (std::size_t i = 0; i < header->frameCount; ++i) {
        auto entry = readFrameEntry(file, i);
        if (!entry)
            return true;
        RecordingSink sink;
        truncated |= decodeFrameRows(file, *entry, sink) == DecodeStatus::truncated;
        frames.push_back(sink.stores);
    }
    return truncated;
}

TEST(GrpDecode, TruncationAtEveryByteIsReportedAndKeepsWhatWasDecoded) {
    const ByteVector file = handLaidSprite(
        6, 6,
        {{0, 0, 4, 2, {{0x02, 1, 2, 0x42, 3}, {0x81, 0x43, 4}}},
         {1, 1, 3, 3, {{0x80, 0x00, 0x83}, {0x03, 5, 0, 6}, {0x41, 7, 0x02, 8, 9}}}});
    std::vector<std::map<std::pair<int, int>, int>> whole;
    ASSERT_FALSE(decodeAll(file, whole));
    for (std::size_t length = 0; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        std::vector<std::map<std::pair<int, int>, int>> part;
        EXPECT_TRUE(decodeAll(Bytes(file).first(length), part));
        for (std::size_t f = 0; f < part.size(); ++f)
            for (auto [cell, value] : part[f])
                EXPECT_EQ(whole[f].at(cell), value);
    }
}

TEST(GrpDecode, RandomBytesNeverReachOutsideTheData) {
    std::mt19937 random(20240611);
    FrameCanvas canvas;
    for (int round = 0; round < 300; ++round) {
        ByteVector file(6 + random() % 200);
        for (auto& byte : file)
            byte = static_cast<std::uint8_t>(random());
        file[0] = static_cast<std::uint8_t>(file[0] % 8);
        file[1] = 0;
        for (std::size_t i = 0; i < 8; ++i) {
            auto entry = readFrameEntry(file, i);
            if (!entry)
                break;
            entry->dataOffset %= static_cast<std::uint32_t>(file.size() + 4);
            decodeFrame(file, *entry, canvas);
        }
    }
}

} // namespace
} // namespace pixmorph
