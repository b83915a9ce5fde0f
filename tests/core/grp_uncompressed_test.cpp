#include "core_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace test;

// Header, table, then each frame's raw rows in table order; a frame may name the block of an
// earlier one (by index) instead of its own, and `between` bytes stand after the table.
struct RawFrame {
    std::uint8_t x, y, width, height;
    int sharesWith = -1;
};

ByteVector rawSprite(const std::vector<RawFrame>& frames, const ByteVector& between = {}) {
    ByteVector file;
    for (std::uint16_t field :
         {static_cast<std::uint16_t>(frames.size()), std::uint16_t{64}, std::uint16_t{64}})
        appendU16(file, field);
    file.resize(file.size() + frames.size() * kFrameEntrySize);
    file.insert(file.end(), between.begin(), between.end());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const RawFrame& f = frames[i];
        const std::size_t at = kSpriteHeaderSize + i * kFrameEntrySize;
        file[at] = f.x, file[at + 1] = f.y, file[at + 2] = f.width, file[at + 3] = f.height;
        if (f.sharesWith >= 0) {
            putU32(file, at + 4,
                   *readU32(file, kSpriteHeaderSize + f.sharesWith * kFrameEntrySize + 4));
            continue;
        }
        putU32(file, at + 4, static_cast<std::uint32_t>(file.size()));
        for (int cell = 0; cell < f.width * f.height; ++cell)
            file.push_back(static_cast<std::uint8_t>(1 + (i * 31 + cell) % 250));
    }
    return file;
}

TEST(UncompressedSprite, DetectionRule) {
    const std::vector<RawFrame> icons = {
        {0, 0, 14, 14}, {2, 1, 9, 5}, {0, 0, 14, 14, 0}, {1, 0, 53, 14}};
    ByteVector overlapping = rawSprite({{0, 0, 4, 4}, {0, 0, 4, 4}});
    putU32(overlapping, kSpriteHeaderSize + kFrameEntrySize + 4, *readU32(overlapping, 10) + 4);
    ByteVector longer = rawSprite(icons), shorter = longer;
    longer.push_back(0), shorter.pop_back();
    const std::pair<ByteVector, SpriteEncoding> cases[] = {
        {rawSprite(icons), SpriteEncoding::uncompressed},
        {rawSprite(icons, ByteVector(kMakerTag.begin(), kMakerTag.end())),
         SpriteEncoding::runLength}, // a gap before the data
        {longer, SpriteEncoding::runLength},
        {shorter, SpriteEncoding::runLength},
        {overlapping, SpriteEncoding::runLength},
        {rawSprite({{0, 0, 4, 4}, {1, 1, 2, 8, 0}}), SpriteEncoding::uncompressed}, // same size
        {rawSprite({{0, 0, 4, 4}, {1, 1, 2, 4, 0}}), SpriteEncoding::runLength},
        {rawSprite({{0, 0, 0, 4}}), SpriteEncoding::runLength},
        // 3 bytes that tile as raw rows and read soundly as a row offset and a skip of 3
        {handLaidSprite(8, 8, {{0, 0, 3, 1, {{0x83}}}}), SpriteEncoding::runLength},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(detectSpriteEncoding(cases[i].first), cases[i].second) << "case " << i;
}

TEST(UncompressedSprite, WriterLaysOutRawRowsWithoutTag) {
    IndexImage image;
    image.set(2, 1, 7), image.set(3, 2, 8);
    SpriteWriter writer(2, SpriteEncoding::uncompressed);
    ASSERT_EQ(writer.addFrame(image, 10, 10), GrpWriteError::none);
    ASSERT_EQ(writer.addDuplicate(0), GrpWriteError::none);
    const ByteVector file = writer.finish();
    // 2 x 3 box at (2, 1), the last row the closing transparent row; data right after the table.
    const ByteVector expected = {2, 0, 10, 0, 10, 0,       //
                                 2, 1, 2,  3, 22, 0, 0, 0, //
                                 2, 1, 2,  3, 22, 0, 0, 0, //
                                 7, 0, 0,  8, 0,  0};
    EXPECT_EQ(file, expected);
    EXPECT_EQ(detectSpriteEncoding(file), SpriteEncoding::uncompressed);
}

} // namespace
} // namespace pixmorph
