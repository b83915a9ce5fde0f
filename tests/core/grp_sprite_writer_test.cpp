#include "core/grp_format.h"

#include <gtest/gtest.h>
#include <random>

namespace pixmorph {
namespace {

TEST(SpriteWriter, WholeFileLayout) {
    IndexImage dot;
    dot.set(10, 20, 42);
    SpriteWriter writer(3);
    const ByteVector placeholder = {3, 0, 0, 0, 0, 0};
    EXPECT_EQ(ByteVector(writer.bytesSoFar().begin(), writer.bytesSoFar().begin() + 6),
              placeholder);

    EXPECT_EQ(writer.addFrame(dot, 64, 80), GrpWriteError::none);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::none);
    EXPECT_EQ(writer.addFrame(IndexImage{}, 96, 40), GrpWriteError::none);
    EXPECT_EQ(writer.framesAdded(), 3u);

    ByteVector expected = {3,  0,  96, 0, 80, 0,        // count, largest width, largest height
                           10, 20, 1,  2, 41, 0, 0, 0,  // the dot
                           10, 20, 1,  2, 41, 0, 0, 0,  // its duplicate shares its data
                           0,  0,  1,  1, 48, 0, 0, 0}; // the blank image
    expected.insert(expected.end(), kMakerTag.begin(), kMakerTag.end());
    expected.insert(expected.end(), {4, 0, 6, 0, 0x01, 42, 0x81}); // at 41
    expected.insert(expected.end(), {2, 0, 0x81});                 // at 48
    EXPECT_EQ(writer.finish(), expected);
}

TEST(SpriteWriter, AnEmptyListIsAHeaderAndTheTag) {
    SpriteWriter writer(0);
    ByteVector expected = {0, 0, 0, 0, 0, 0};
    expected.insert(expected.end(), kMakerTag.begin(), kMakerTag.end());
    EXPECT_EQ(writer.finish(), expected);
}

TEST(SpriteWriter, LargestSizesIncludeImagesThatWereOnlyNoted) {
    SpriteWriter writer(2);
    writer.addFrame(IndexImage{}, 64, 80);
    writer.noteImageSize(120, 10);
    writer.addFrame(IndexImage{}, 96, 40);
    EXPECT_EQ(readSpriteHeader(writer.finish()), (SpriteHeader{2, 120, 80}));
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
    EXPECT_EQ(writer.framesAdded(), 0u);

    EXPECT_EQ(writer.addFrame(IndexImage{}, 1, 1), GrpWriteError::none);
    EXPECT_EQ(writer.addDuplicate(1), GrpWriteError::badDuplicate);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::none);
    EXPECT_EQ(writer.addDuplicate(0), GrpWriteError::tooManyFrames);
    EXPECT_EQ(writer.addFrame(IndexImage{}, 1, 1), GrpWriteError::tooManyFrames);
}

TEST(SpriteWriter, FrameCountsCoverTheWholeSixteenBitRange) {
    for (std::size_t declared : {830u, 65535u, 70000u}) {
        SCOPED_TRACE(declared);
        IndexImage dot;
        dot.set(3, 4, 9);
        SpriteWriter writer(declared);
        ASSERT_EQ(writer.addFrame(dot, 8, 8), GrpWriteError::none);
        while (writer.addDuplicate(0) == GrpWriteError::none) {
        }
        const std::size_t held = std::min<std::size_t>(declared, 65535);
        EXPECT_EQ(writer.framesAdded(), held);
        const ByteVector file = writer.finish();
        EXPECT_EQ(readSpriteHeader(file)->frameCount, held);
        EXPECT_EQ(readFrameEntry(file, held - 1), readFrameEntry(file, 0));
        FrameCanvas canvas;
        EXPECT_EQ(decodeFrame(file, *readFrameEntry(file, held - 1), canvas),
                  DecodeStatus::complete);
        EXPECT_EQ(canvas.at(3, 4), 9);
    }
}

TEST(SpriteWriter, RefusalMessagesNameTheFrame) {
    EXPECT_EQ(grpWriteErrorMessage(GrpWriteError::none, 7), "");
    for (GrpWriteError error : {GrpWriteError::boxTooLarge, GrpWriteError::offsetTooLarge,
                                GrpWriteError::rowOffsetOverflow, GrpWriteError::tooManyFrames,
                                GrpWriteError::badDuplicate, GrpWriteError::fileTooLarge}) {
        const std::string message = grpWriteErrorMessage(error, 417);
        EXPECT_NE(message.find("Frame 417 "), std::string::npos) << message;
        EXPECT_EQ(message.find("%1"), std::string::npos) << message;
    }
}

// Random rows of skips, repeats and literals (with the odd stored-looking 0 between values).
void paintRandomRows(IndexImage& image, int left, int top, int width, int height,
                     std::mt19937& random) {
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            const int length = 1 + static_cast<int>(random() % 90);
            const int kind = static_cast<int>(random() % 3);
            const std::uint32_t value = 1 + random() % 255;
            for (int i = 0; i < length && x < width; ++i, ++x) {
                std::uint32_t cell = kind == 0 ? 0 : value;
                if (kind == 2)
                    cell = random() % 8 == 0 ? 0 : 1 + random() % 255;
                image.set(left + x, top + y, cell);
            }
        }
    }
    // Non-zero corners make the box the painted area exactly.
    for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
        image.set(left + x, top + y, 200);
}

class IntoImage final : public FrameRowSink {
public:
    IntoImage(IndexImage& image, const FrameEntry& entry) : image_(image), entry_(entry) {}
    void store(int column, int row, std::uint8_t value) override {
        // The writer's runs end at the box's right edge and its closing row stores nothing.
        EXPECT_LT(column, entry_.width);
        EXPECT_LT(row, entry_.height - 1);
        image_.set(entry_.xOffset + column, entry_.yOffset + row, value);
    }

private:
    IndexImage& image_;
    const FrameEntry& entry_;
};

TEST(SpriteWriter, RandomImagesSurviveTheRoundTrip) {
    std::mt19937 random(85);
    struct Painted {
        IndexImage image;
        FrameEntry box;
    };
    std::vector<Painted> painted;
    SpriteWriter writer(2 * 12 * 4);
    for (int width : {1, 2, 3, 4, 62, 63, 64, 65, 126, 127, 128, 255}) {
        for (int height : {1, 2, 100, 254}) {
            // The far corner: box edges up to 255, the image no larger than 300 x 300.
            const int left = static_cast<int>(random() % (std::min(255, 300 - width) + 1));
            const int top = static_cast<int>(random() % (std::min(255, 300 - height) + 1));
            Painted p;
            paintRandomRows(p.image, left, top, width, height, random);
            p.box = FrameEntry{static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(top),
                               static_cast<std::uint8_t>(width),
                               static_cast<std::uint8_t>(height + 1), 0};
            ASSERT_EQ(writer.addFrame(p.image, 300, 300), GrpWriteError::none)
                << width << " x " << height;
            ASSERT_EQ(writer.addDuplicate(writer.framesAdded() - 1), GrpWriteError::none);
            painted.push_back(std::move(p));
        }
    }
    const ByteVector file = writer.finish();
    ASSERT_EQ(readSpriteHeader(file), (SpriteHeader{96, 300, 300}));
    for (std::size_t i = 0; i < painted.size(); ++i) {
        SCOPED_TRACE(i);
        auto entry = readFrameEntry(file, 2 * i);
        ASSERT_TRUE(entry);
        EXPECT_EQ(readFrameEntry(file, 2 * i + 1), entry);
        EXPECT_EQ((FrameEntry{entry->xOffset, entry->yOffset, entry->width, entry->height, 0}),
                  painted[i].box);
        IndexImage decoded;
        IntoImage sink(decoded, *entry);
        ASSERT_EQ(decodeFrameRows(file, *entry, sink), DecodeStatus::complete);
        for (int x = 0; x < IndexImage::kSize; ++x)
            for (int y = 0; y < IndexImage::kSize; ++y)
                ASSERT_EQ(decoded.at(x, y), painted[i].image.at(x, y)) << x << ", " << y;
    }
}

} // namespace
} // namespace pixmorph
