#include "bench/corpus.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace pixmorph::bench {
namespace {

TEST(Corpus, PlanCoversTheShapesItPromises) {
    const auto plans = planCorpus(1, 1);
    ASSERT_EQ(plans.size(), 100u);
    std::set<std::string> names;
    int frames = 0, smallest = 999, largest = 0, fewest = 99999, most = 0;
    std::set<Content> contents;
    for (const SpritePlan& plan : plans) {
        names.insert(plan.name);
        frames += plan.frameCount;
        smallest = std::min({smallest, plan.width, plan.height});
        largest = std::max({largest, plan.width, plan.height});
        fewest = std::min(fewest, plan.frameCount);
        most = std::max(most, plan.frameCount);
        contents.insert(plan.content);
        EXPECT_LE(plan.width, 256) << plan.name;
        EXPECT_LE(plan.height, 256) << plan.name;
    }
    EXPECT_EQ(names.size(), plans.size());
    EXPECT_NEAR(frames, 20000, 1500);
    EXPECT_EQ(smallest, 9);
    EXPECT_EQ(largest, 256);
    EXPECT_EQ(fewest, 1);
    EXPECT_EQ(most, 900);
    EXPECT_EQ(contents.size(), 4u);
}

TEST(Corpus, ScaleRepeatsEveryShapeWithOtherPixels) {
    const auto single = planCorpus(7, 1);
    const auto doubled = planCorpus(7, 2);
    ASSERT_EQ(doubled.size(), 2 * single.size());
    for (std::size_t i = 0; i < single.size(); ++i) {
        const SpritePlan& original = doubled[2 * i];
        const SpritePlan& copy = doubled[2 * i + 1];
        EXPECT_EQ(original.name, single[i].name);
        EXPECT_EQ(original.seed, single[i].seed);
        EXPECT_NE(copy.name, original.name);
        EXPECT_NE(copy.seed, original.seed);
        EXPECT_EQ(std::tie(copy.width, copy.height, copy.frameCount, copy.duplicatePercent),
                  std::tie(original.width, original.height, original.frameCount,
                           original.duplicatePercent));
    }
}

TEST(Corpus, SameSeedSameBytesOtherSeedOtherBytes) {
    const SpritePlan plan = planCorpus(3, 1).front();
    EXPECT_EQ(buildSprite(plan).file, buildSprite(plan).file);
    SpritePlan other = plan;
    other.seed += 1;
    EXPECT_NE(buildSprite(other).file, buildSprite(plan).file);
}

// Every kind of content at the extreme sizes writes without refusal, decodes to the pixels
// drawn, and shares data where the plan repeats frames.
TEST(Corpus, SpritesDecodeToTheFramesDrawn) {
    const Content kinds[] = {Content::solid, Content::noisy, Content::sparse, Content::mixed};
    const int sizes[][2] = {{9, 9}, {256, 256}, {255, 37}};
    for (const Content content : kinds)
        for (const auto& size : sizes) {
            const SpritePlan plan{"probe", size[0], size[1], 12, content, 40, 99};
            const BuiltSprite built = buildSprite(plan);
            ASSERT_EQ(built.error, GrpWriteError::none) << plan.width;
            const Bytes file(built.file);
            ASSERT_EQ(readSpriteHeader(file), (SpriteHeader{12, static_cast<std::uint16_t>(size[0]),
                                                            static_cast<std::uint16_t>(size[1])}));
            std::set<std::uint32_t> offsets;
            for (int frame = 0; frame < plan.frameCount; ++frame) {
                const FrameEntry entry = readFrameEntry(file, frame).value();
                if (!offsets.insert(entry.dataOffset).second)
                    continue; // a repeat: its pixels are those of the frame it shares
                IndexImage drawn;
                drawFrame(plan, frame, drawn);
                FrameCanvas decoded;
                ASSERT_EQ(decodeFrame(file, entry, decoded), DecodeStatus::complete);
                for (int x = 0; x < plan.width; ++x)
                    for (int y = 0; y < plan.height; ++y)
                        ASSERT_EQ(decoded.at(x, y), static_cast<int>(drawn.at(x, y)))
                            << plan.width << " frame " << frame << " at " << x << "," << y;
            }
            EXPECT_LT(offsets.size(), 12u);
        }
}

} // namespace
} // namespace pixmorph::bench
