#include "bench/corpus.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace pixmorph::bench {
namespace {

// A larger scale repeats every shape under another name and seed; one seed gives one corpus.
TEST(Corpus, ScaleRepeatsEveryShapeWithOtherPixels) {
    const auto single = planCorpus(7, 1);
    const auto doubled = planCorpus(7, 2);
    ASSERT_EQ(doubled.size(), 2 * single.size());
    std::set<std::string> names;
    for (std::size_t i = 0; i < doubled.size(); ++i) {
        const SpritePlan& plan = doubled[i];
        const SpritePlan& shape = single[i / 2];
        EXPECT_TRUE(names.insert(plan.name).second) << plan.name;
        EXPECT_EQ(plan.seed == shape.seed, i % 2 == 0) << plan.name;
        EXPECT_EQ(std::tie(plan.width, plan.height, plan.frameCount, plan.duplicatePercent),
                  std::tie(shape.width, shape.height, shape.frameCount, shape.duplicatePercent));
        EXPECT_LE(std::max(plan.width, plan.height), 256) << plan.name;
    }
    const SpritePlan plan = single.front();
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
