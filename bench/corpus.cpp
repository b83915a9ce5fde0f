#include "bench/corpus.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pixmorph::bench {

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Random::between(int low, int high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(next() % span);
}

namespace {

constexpr int kDirections = 17;

// A family of sprites with the ranges its members are drawn from.
struct Family {
    const char* prefix;
    int members;
    int smallest, largest; // width range; heights stay within a quarter of the width
    int fewestFrames, mostFrames;
    int framesStep; // frame counts are multiples of this (17 for sprites that turn)
    int fewestDuplicates, mostDuplicates; // percent
    Content contents[2];
};

// Frame counts of the long sprites: beyond the old 512-frame tables, as real sprites are.
constexpr int kLongFrameCounts[] = {512, 600, 684, 830, 900};

constexpr Family kFamilies[] = {
    {"unit", 41, 24, 128, 8, 36, kDirections, 10, 40, {Content::solid, Content::mixed}},
    {"large", 6, 128, 256, 2, 6, kDirections, 5, 25, {Content::solid, Content::noisy}},
    {"building", 14, 96, 256, 1, 40, 1, 0, 30, {Content::solid, Content::mixed}},
    {"effect", 24, 9, 64, 1, 80, 1, 0, 20, {Content::sparse, Content::noisy}},
    {"icon", 10, 9, 48, 1, 12, 1, 0, 0, {Content::noisy, Content::solid}},
    {"long", 5, 32, 112, 0, 0, 1, 20, 50, {Content::mixed, Content::sparse}},
};

std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    return Random(a * 0x100000001B3ull ^ b).next();
}

std::string memberName(const Family& family, int member, int copy) {
    std::string number = std::to_string(member);
    number.insert(0, 3 - std::min<std::size_t>(3, number.size()), '0');
    std::string name = family.prefix + number;
    if (copy > 0)
        name += "_" + std::to_string(copy);
    return name;
}

} // namespace

std::vector<SpritePlan> planCorpus(std::uint64_t seed, int scale) {
    std::vector<SpritePlan> plans;
    Random shapes(seed);
    for (const Family& family : kFamilies) {
        for (int member = 0; member < family.members; ++member) {
            SpritePlan plan;
            plan.width = shapes.between(family.smallest, family.largest);
            const int spread = plan.width / 4;
            plan.height = std::clamp(plan.width + shapes.between(-spread, spread), family.smallest,
                                     family.largest);
            // The extremes are always present: the smallest sprite and the largest picture.
            if (member == 0 && family.smallest == 9)
                plan.width = plan.height = 9;
            if (member == 0 && family.largest == 256)
                plan.width = plan.height = 256;
            plan.frameCount =
                family.framesStep * shapes.between(family.fewestFrames, family.mostFrames);
            if (family.mostFrames == 0)
                plan.frameCount = kLongFrameCounts[member % std::size(kLongFrameCounts)];
            plan.content = family.contents[shapes.between(0, 1)];
            plan.duplicatePercent = shapes.between(family.fewestDuplicates, family.mostDuplicates);
            const std::uint64_t shapeSeed = shapes.next();
            for (int copy = 0; copy < scale; ++copy) {
                plan.name = memberName(family, member, copy);
                plan.seed = mix(shapeSeed, static_cast<std::uint64_t>(copy));
                plans.push_back(plan);
            }
        }
    }
    return plans;
}

namespace {

// Eight neighbouring palette entries, dark to light, picked per sprite.
struct Ramp {
    int first;
    int at(int level) const { return first + std::clamp(level, 0, 7); }
};

} // namespace

void drawFrame(const SpritePlan& plan, int frameIndex, IndexImage& image) {
    Random pixels(mix(plan.seed, static_cast<std::uint64_t>(frameIndex) + 1));
    const Ramp ramp{1 + static_cast<int>(mix(plan.seed, 0) % 240)};
    // The closing transparent row of a frame box must still fit in the sprite and in the
    // box's byte fields, so content keeps off the bottom row and stays within 255 x 254.
    const int usableWidth = std::min(plan.width, 255);
    const int usableHeight = std::min(plan.height - 1, 254);
    const double angle = 2 * std::numbers::pi * (frameIndex % kDirections) / kDirections;
    const double cx = usableWidth / 2.0 + std::sin(frameIndex * 0.7) * usableWidth * 0.05;
    const double cy = usableHeight / 2.0;
    // The first frame fills the sprite to its edges, so the largest sprites hold the largest
    // frame box the format allows (not for noise: a full box of it overflows the 16-bit row
    // offsets).
    const bool fill = frameIndex == 0 && plan.content != Content::noisy;
    const double rx = usableWidth * (fill ? 0.75 : 0.42 * (0.85 + 0.15 * std::sin(angle)));
    const double ry = usableHeight * (fill ? 0.75 : 0.42 * (0.85 + 0.15 * std::cos(angle)));

    for (int x = 0; x < plan.width; ++x)
        for (int y = 0; y < plan.height; ++y)
            image.set(x, y, 0);

    if (plan.content == Content::sparse) {
        for (int x = 0; x < usableWidth; ++x)
            for (int y = 0; y < usableHeight; ++y)
                if (pixels.chance(6))
                    image.set(x, y, ramp.at(pixels.between(0, 7)));
        for (int particle = pixels.between(3, 6); particle > 0; --particle) {
            const int px = pixels.between(0, usableWidth - 1);
            const int py = pixels.between(0, usableHeight - 1);
            const int radius = pixels.between(1, 3);
            for (int x = std::max(0, px - radius); x <= std::min(usableWidth - 1, px + radius); ++x)
                for (int y = std::max(0, py - radius); y <= std::min(usableHeight - 1, py + radius);
                     ++y)
                    image.set(x, y, ramp.at(7));
        }
        return;
    }

    for (int x = 0; x < usableWidth; ++x)
        for (int y = 0; y < usableHeight; ++y) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy > 1)
                continue;
            int level = 0;
            switch (plan.content) {
            case Content::noisy:
                level = pixels.between(0, 7);
                break;
            case Content::mixed:
                if (pixels.chance(25)) {
                    level = pixels.between(0, 7);
                    break;
                }
                [[fallthrough]];
            default: {
                // Light from a side that turns with the direction: broad bands of one colour.
                const double light = 0.5 + 0.5 * (dx * std::cos(angle) + dy * std::sin(angle));
                level = static_cast<int>(std::clamp(light, 0.0, 0.999) * 8);
            }
            }
            image.set(x, y, ramp.at(level));
        }
}

BuiltSprite buildSprite(const SpritePlan& plan) {
    BuiltSprite built;
    SpriteWriter writer(static_cast<std::size_t>(plan.frameCount));
    Random duplicates(mix(plan.seed, 0xD0D0));
    IndexImage image;
    for (int frame = 0; frame < plan.frameCount; ++frame) {
        if (frame > 0 && duplicates.chance(plan.duplicatePercent)) {
            writer.addDuplicate(static_cast<std::size_t>(duplicates.between(0, frame - 1)));
            continue;
        }
        drawFrame(plan, frame, image);
        built.error = writer.addFrame(image, plan.width, plan.height);
        if (built.error != GrpWriteError::none) {
            built.failedFrame = frame;
            return built;
        }
    }
    built.file = writer.finish();
    return built;
}

} // namespace pixmorph::bench
