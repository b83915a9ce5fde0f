// The compact compile: any sprite the writer accepts, made compact, draws every frame as the
// writer's own file does (each stored cell stored with its value, each skipped one skipped,
// which is the picture), and is smaller by the maker tag at least.
//
// Input: sprite width and height (16 bits each, modulo 300, plus 1) and a frame count (1 to 4);
// per frame a kind byte (a multiple of 4 repeats an earlier frame, as a list's "dupe_of_"),
// the box's left and top (16 bits each, modulo 300), its width and height (a byte each, plus
// 1), a row stride and a start (a byte and 16 bits); then the pool of cells. Cell (x, y) of a
// box is pool[(start + y * stride + x) % pool size], so a stride of 0 or equal starts give
// rows and frames that repeat.
#include "core/grp_compact_writer.h"
#include "picture_checks.h"

#include <vector>

using namespace pixmorph;
using fuzz::kSide;

namespace {

struct FramePlan {
    unsigned kind, left, top, width, height, stride, start;
};

// Frame i of the sprite, drawn within the given box (its own or a larger one at its corner).
std::vector<int> drawnCells(Bytes sprite, std::size_t frame, const FrameEntry& box) {
    const auto entry = readFrameEntry(sprite, frame);
    FUZZ_CHECK(entry && entry->height <= box.height);
    fuzz::DecodedPicture drawn({0, 0, box.width, box.height}, box.width, box.height, true);
    FUZZ_CHECK(decodeFrameRows(sprite, *entry, drawn) == DecodeStatus::complete);
    return drawn.cells();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int width = in.pictureSide();
    const int height = in.pictureSide();
    std::vector<FramePlan> plans(1 + in.u8() % 4);
    for (FramePlan& plan : plans)
        plan = {in.u8(),     in.u16() % kSide, in.u16() % kSide, 1 + in.u8(),
                1 + in.u8(), in.u8(),          in.u16()};
    const Bytes pool = in.rest();

    static IndexImage image;
    SpriteWriter writer(plans.size());
    // Per frame the frame it repeats, or the cells of its box in the picture (outside its box
    // the picture is 0, which the round trip target checks).
    std::vector<std::size_t> repeats(plans.size());
    std::vector<std::vector<int>> pictures(plans.size());
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const FramePlan& plan = plans[i];
        repeats[i] = i;
        if (plan.kind % 4 == 0 && i > 0) {
            repeats[i] = repeats[plan.kind / 4 % i];
            FUZZ_CHECK(writer.addDuplicate(plan.kind / 4 % i) == GrpWriteError::none);
            continue;
        }
        image.clear();
        for (unsigned y = 0; !pool.empty() && y < plan.height; ++y)
            for (unsigned x = 0; x < plan.width; ++x)
                image.set(static_cast<int>(plan.left + x), static_cast<int>(plan.top + y),
                          pool[(plan.start + y * plan.stride + x) % pool.size()]);
        if (writer.addFrame(image, width, height) != GrpWriteError::none)
            return 0; // the refusals are the round trip's to check
        // The picture within the frame's box; cells outside the picture count as 0.
        const FrameEntry box = findFrameBox(image, width, height).entry;
        for (int y = box.yOffset; y < box.yOffset + box.height; ++y)
            for (int x = box.xOffset; x < box.xOffset + box.width; ++x)
                pictures[i].push_back(x < width && y < height ? static_cast<int>(image.at(x, y))
                                                              : 0);
    }
    const ByteVector sprite = writer.finish();
    const ByteVector compact = compactSprite(sprite);

    FUZZ_CHECK(compact.size() + kMakerTag.size() <= sprite.size());
    FUZZ_CHECK(readSpriteHeader(compact) == readSpriteHeader(sprite));
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const FrameEntry before = *readFrameEntry(sprite, i);
        const FrameEntry after = *readFrameEntry(compact, i);
        FUZZ_CHECK(after.xOffset == before.xOffset && after.yOffset == before.yOffset &&
                   after.width == before.width && after.height <= before.height);
        if (repeats[i] != i) {
            FUZZ_CHECK(after == *readFrameEntry(compact, repeats[i]));
            continue;
        }
        const std::vector<int> cells = drawnCells(compact, i, before);
        FUZZ_CHECK(cells == drawnCells(sprite, i, before));
        const std::vector<int>& expected = pictures[i];
        FUZZ_CHECK(cells.size() == expected.size());
        for (std::size_t c = 0; c < cells.size(); ++c)
            FUZZ_CHECK(std::max(cells[c], 0) == expected[c]);
    }
    return 0;
}
