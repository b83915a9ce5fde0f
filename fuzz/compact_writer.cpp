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
#include "core/grp_format.h"
#include "fuzz_input.h"
#include "sprite_check.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace pixmorph;

namespace {

constexpr int kSide = IndexImage::kSize;

struct FramePlan {
    unsigned kind, left, top, width, height, stride, start;
};

// Every cell of the picture as the frame's decode leaves it.
std::vector<int> drawnCells(Bytes sprite, std::size_t frame, int width, int height) {
    const auto entry = readFrameEntry(sprite, frame);
    FUZZ_CHECK(entry);
    fuzz::DecodedPicture decoded(*entry, width, height);
    FUZZ_CHECK(decodeFrameRows(sprite, *entry, decoded) == DecodeStatus::complete);
    std::vector<int> cells;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            cells.push_back(decoded.stored(x, y));
    return cells;
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
    std::vector<std::vector<int>> pictures; // the non-repeated frames' cells, 0 for nothing
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const FramePlan& plan = plans[i];
        if (plan.kind % 4 == 0 && i > 0) {
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
        std::vector<int>& cells = pictures.emplace_back();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                cells.push_back(static_cast<int>(image.at(x, y)));
    }
    const ByteVector sprite = writer.finish();
    const ByteVector compact = compactSprite(sprite);

    FUZZ_CHECK(compact.size() + kMakerTag.size() <= sprite.size());
    FUZZ_CHECK(readSpriteHeader(compact) == readSpriteHeader(sprite));
    std::size_t picture = 0;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const FrameEntry before = *readFrameEntry(sprite, i);
        const FrameEntry after = *readFrameEntry(compact, i);
        FUZZ_CHECK(after.xOffset == before.xOffset && after.yOffset == before.yOffset &&
                   after.width == before.width && after.height <= before.height);
        const std::vector<int> cells = drawnCells(compact, i, width, height);
        FUZZ_CHECK(cells == drawnCells(sprite, i, width, height));
        if (plans[i].kind % 4 == 0 && i > 0)
            continue;
        const std::vector<int>& expected = pictures[picture++];
        for (std::size_t c = 0; c < cells.size(); ++c)
            FUZZ_CHECK(std::max(cells[c], 0) == expected[c]);
    }
    return 0;
}
