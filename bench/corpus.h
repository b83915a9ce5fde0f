#pragma once
// The benchmark corpus: a seeded set of sprites shaped like a game's art (units turning through
// 17 directions, buildings, effects, icons, a few very long sprites), drawn in code and written
// with our own sprite writer. The same seed always gives the same bytes.

#include "core/bytes.h"
#include "core/grp_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pixmorph::bench {

enum class Content {
    solid,  // shaded bodies: long runs of one colour
    noisy,  // every pixel its own colour: literal runs
    sparse, // scattered pixels and particles: skips and lone pixels
    mixed,  // shaded body with speckles
};

struct SpritePlan {
    std::string name; // file stem, unique in the corpus
    int width = 0;
    int height = 0;
    int frameCount = 0;
    Content content = Content::solid;
    int duplicatePercent = 0; // share of frames that repeat an earlier frame's data
    std::uint64_t seed = 0;   // drives the pixels and the choice of duplicates
};

// About 100 sprites and 20,000 frames per unit of scale. A larger scale repeats the same shapes
// with other pixels under other names, so every measure of the corpus grows by the scale.
std::vector<SpritePlan> planCorpus(std::uint64_t seed, int scale);

// The frame's pixels over the plan's width x height; cells outside stay as they were.
void drawFrame(const SpritePlan& plan, int frameIndex, IndexImage& image);

struct BuiltSprite {
    ByteVector file;
    // A frame that does not fit the format: a fault in the plan, never expected.
    GrpWriteError error = GrpWriteError::none;
    int failedFrame = 0;
};

// The whole GRP file of the plan.
BuiltSprite buildSprite(const SpritePlan& plan);

// A small, fast, portable generator (SplitMix64): the corpus must not depend on the standard
// library's distributions, which differ between implementations.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in [low, high].
    int between(int low, int high);
    bool chance(int percent) { return between(0, 99) < percent; }

private:
    std::uint64_t state_;
};

} // namespace pixmorph::bench
