#include "core/grp_format.h"

#include <gtest/gtest.h>
#include <random>

namespace pixmorph {
namespace {

TEST(SpriteWriter, WholeFileLayout) {
    IndexImage dot;
    dot.set(10, 20, 42);
    SpriteWriter writer(3);
    ByteVector start = {3, 0, 0, 0, 0, 0}; // placeholder sizes and entries until finish()
    start.resize(30);
    start.insert(start.end(), kMakerTag.begin(), kMakerTag.end());
    EXPECT_EQ(writer.bytesSoFar(), start);

    EXPECT_EQ(writer.addFrame(dot, 64, 80), GrpWriteError::none);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::none);
    writer.noteImageSize(90, 10); // a refused image still counts for the header
    EXPECT_EQ(writer.addFrame(IndexImage{}, 96, 40), GrpWriteError::none);

    ByteVector expected = {3,  0,  96, 0, 80, 0, // count, largest width, largest height
                           10, 20, 1,  2, 41, 0, 0, 0, 10, 20, 1, 2,
                           41, 0,  0,  0, 0,  0, 1, 1, 48, 0,  0, 0};
    expected.insert(expected.end(), kMakerTag.begin(), kMakerTag.end());
    expected.insert(expected.end(), {4, 0, 6, 0, 0x01, 42, 0x81, 2, 0, 0x81}); // at 41 and 48
    EXPECT_EQ(writer.finish(), expected);

    ByteVector emptyList(6, 0);
    emptyList.insert(emptyList.end(), kMakerTag.begin(), kMakerTag.end());
    EXPECT_EQ(SpriteWriter(0).finish(), emptyList);
}

TEST(SpriteWriter, RefusalsLeaveTheFileAsItWasAndNameTheFrame) {
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

    EXPECT_EQ(grpWriteErrorMessage(GrpWriteError::none, 7), "");
    for (int error = 1; error <= static_cast<int>(GrpWriteError::fileTooLarge); ++error) {
        const std::string message = grpWriteErrorMessage(static_cast<GrpWriteError>(error), 417);
        EXPECT_NE(message.find("Frame 417 "), std::string::npos) << message;
    }
}

TEST(SpriteWriter, FrameCountsCoverTheWholeSixteenBitRange) {
    IndexImage dot;
    dot.set(3, 4, 9);
    for (std::size_t declared : {830u, 70000u}) {
        SpriteWriter writer(declared);
        ASSERT_EQ(writer.addFrame(dot, 8, 8), GrpWriteError::none);
        while (writer.addDuplicate(0) == GrpWriteError::none) {
        }
        const std::size_t held = std::min<std::size_t>(declared, 65535);
        EXPECT_EQ(writer.framesAdded(), held);
        const ByteVector file = writer.finish();
        EXPECT_EQ(readSpriteHeader(file)->frameCount, held);
        FrameCanvas canvas;
        decodeFrame(file, *readFrameEntry(file, held - 1), canvas);
        EXPECT_EQ(canvas.at(3, 4), 9);
    }
}

// Random rows of skips, repeats and literals (with the odd 0 inside a literal).
void paint(IndexImage& image, int left, int top, int width, int height, std::mt19937& random) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width;) {
            const int kind = static_cast<int>(random() % 3), length = 1 + random() % 90;
            const std::uint32_t value = 1 + random() % 255;
            for (int i = 0; i < length && x < width; ++i, ++x) {
                const bool zero = kind == 0 || (kind == 2 && random() % 8 == 0);
                image.set(left + x, top + y, zero ? 0 : kind == 1 ? value : 1 + random() % 255);
            }
        }
    // Non-zero corners make the box the painted area exactly.
    for (int x : {0, width - 1})
        for (int y : {0, height - 1})
            image.set(left + x, top + y, 200);
}

struct IntoImage final : FrameRowSink {
    IntoImage(IndexImage& image, const FrameEntry& entry) : image(image), entry(entry) {}
    void store(int column, int row, std::uint8_t value) override {
        // The writer's runs end at the box's right edge and its closing row stores nothing.
        EXPECT_LT(column, entry.width);
        EXPECT_LT(row, entry.height - 1);
        image.set(entry.xOffset + column, entry.yOffset + row, value);
    }
    IndexImage& image;
    const FrameEntry& entry;
};

TEST(SpriteWriter, RandomImagesSurviveTheRoundTrip) {
    std::mt19937 random(85);
    std::vector<IndexImage> images;
    std::vector<FrameEntry> boxes;
    SpriteWriter writer(2 * 12 * 4);
    for (int width : {1, 2, 3, 4, 62, 63, 64, 65, 126, 127, 128, 255})
        for (int height : {1, 2, 100, 254}) {
            // Up to the far corner: box edges up to 255, the image no larger than 300 x 300.
            const int left = static_cast<int>(random() % (std::min(255, 300 - width) + 1));
            const int top = static_cast<int>(random() % (std::min(255, 300 - height) + 1));
            paint(images.emplace_back(), left, top, width, height, random);
            boxes.push_back(FrameEntry{
                static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(top),
                static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(height + 1), 0});
            ASSERT_EQ(writer.addFrame(images.back(), 300, 300), GrpWriteError::none);
            ASSERT_EQ(writer.addDuplicate(writer.framesAdded() - 1), GrpWriteError::none);
        }
    const ByteVector file = writer.finish();
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(i);
        FrameEntry entry = *readFrameEntry(file, 2 * i);
        EXPECT_EQ(readFrameEntry(file, 2 * i + 1), entry);
        IndexImage decoded;
        IntoImage sink(decoded, entry);
        ASSERT_EQ(decodeFrameRows(file, entry, sink), DecodeStatus::complete);
        EXPECT_TRUE(decoded == images[i]);
        entry.dataOffset = 0;
        EXPECT_EQ(entry, boxes[i]);
    }
}

} // namespace
} // namespace pixmorph
