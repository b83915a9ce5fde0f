#pragma once
// The sprite sheet's JSON in Aseprite's layout ("Export Sprite Sheet"): frames as an array or
// as an object keyed by file name, each with its rectangle in the sheet, and meta naming the
// sheet's picture. What only Pixmorph needs (the sprite's name, the frames that repeat an
// earlier frame's data, the full frame count of a partial sheet) lies under meta in a key of
// its own, which other readers pass over.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

inline constexpr std::string_view kSheetMetaKey = "pixmorph";

struct SheetRect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct SheetFrame {
    std::string name;
    SheetRect frame;  // the frame's pixels in the sheet
    SheetRect placed; // where they lie in the frame's picture (Aseprite's trimmed frames)
    int pictureWidth = 0, pictureHeight = 0;
};

struct SheetLayout {
    std::string image;
    int width = 0, height = 0;
    std::string sprite; // empty in other tools' sheets
    std::vector<SheetFrame> frames;
    std::vector<std::optional<std::size_t>> repeats; // per frame, or empty
    std::optional<std::size_t> fullFrameCount;       // when the sheet holds only some frames
};

struct SheetJsonRead {
    SheetLayout layout;
    std::string problem; // empty when the layout was read
};

// Bounded throughout: at most 65535 frames, every number a whole one within a sheet's sides,
// every frame's picture within a frame's 256 x 256.
SheetJsonRead readSheetJson(std::string_view text);

// Ours: the array form, frames shown for durationMs each, the sheet indexed ("I8").
std::string writeSheetJson(const SheetLayout& layout, int durationMs);

// Whether a compile input names a sheet's JSON: ".json" in any case.
bool isSheetJsonPath(std::string_view path);

} // namespace pixmorph
