// The sprite sheet's JSON reader (nlohmann-json underneath): whatever it accepts keeps within
// its bounds, and our writer's JSON of it reads back to the same layout.
#include "jobs/sheet_json.h"

#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace pixmorph;

namespace {

void checkBounds(const SheetLayout& layout) {
    FUZZ_CHECK(layout.frames.size() <= 65535);
    FUZZ_CHECK(layout.repeats.empty() || layout.repeats.size() == layout.frames.size());
    for (std::size_t i = 0; i < layout.repeats.size(); ++i)
        FUZZ_CHECK(!layout.repeats[i] || *layout.repeats[i] < i);
    for (const SheetFrame& frame : layout.frames) {
        FUZZ_CHECK(frame.pictureWidth >= 1 && frame.pictureWidth <= 256);
        FUZZ_CHECK(frame.pictureHeight >= 1 && frame.pictureHeight <= 256);
        FUZZ_CHECK(frame.placed.x >= 0 && frame.placed.x + frame.placed.w <= frame.pictureWidth);
        FUZZ_CHECK(frame.placed.y >= 0 && frame.placed.y + frame.placed.h <= frame.pictureHeight);
        FUZZ_CHECK(frame.frame.x >= 0 && frame.frame.y >= 0);
        FUZZ_CHECK(frame.frame.w == frame.placed.w && frame.frame.h == frame.placed.h);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SheetJsonRead read =
        readSheetJson(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.problem.empty())
        return 0;
    checkBounds(read.layout);
    const SheetJsonRead again = readSheetJson(writeSheetJson(read.layout, 42));
    FUZZ_CHECK(again.problem.empty());
    FUZZ_CHECK(again.layout.frames.size() == read.layout.frames.size());
    FUZZ_CHECK(again.layout.image == read.layout.image);
    for (std::size_t i = 0; i < read.layout.frames.size(); ++i) {
        const SheetFrame& a = read.layout.frames[i];
        const SheetFrame& b = again.layout.frames[i];
        FUZZ_CHECK(a.frame.x == b.frame.x && a.frame.y == b.frame.y && a.frame.w == b.frame.w &&
                   a.frame.h == b.frame.h && a.placed.x == b.placed.x && a.placed.y == b.placed.y &&
                   a.pictureWidth == b.pictureWidth && a.pictureHeight == b.pictureHeight);
    }
    return 0;
}
