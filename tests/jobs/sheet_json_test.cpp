#include "jobs/sheet_json.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

// Aseprite's hash form: frames keyed by file name in the order written, trimmed frames placed
// in their pictures, keys we do not know passed over.
TEST(SheetJson, AsepriteHashFormWithTrimmedFrames) {
    const SheetJsonRead read = readSheetJson(R"({"frames": {
        "walk 1.aseprite": {"frame": {"x": 0, "y": 0, "w": 5, "h": 4}, "rotated": false,
            "trimmed": true, "spriteSourceSize": {"x": 2, "y": 1, "w": 5, "h": 4},
            "sourceSize": {"w": 9, "h": 8}, "duration": 100},
        "walk 0.aseprite": {"frame": {"x": 5, "y": 0, "w": 9, "h": 8}}},
        "meta": {"app": "x", "image": "walk.png", "size": {"w": 14, "h": 8}, "layers": []}})");
    ASSERT_EQ(read.problem, "");
    const SheetLayout& layout = read.layout;
    EXPECT_EQ(layout.image, "walk.png");
    ASSERT_EQ(layout.frames.size(), 2u);
    EXPECT_EQ(layout.frames[0].name, "walk 1.aseprite");
    EXPECT_EQ(layout.frames[0].placed.x + 10 * layout.frames[0].placed.y, 12);
    EXPECT_EQ(layout.frames[0].pictureWidth, 9);
    EXPECT_EQ(layout.frames[1].frame.x, 5);
    EXPECT_EQ(layout.frames[1].pictureHeight, 8); // untrimmed: the rectangle is the picture
    EXPECT_TRUE(layout.repeats.empty());
    EXPECT_FALSE(layout.fullFrameCount);
}

TEST(SheetJson, RefusalsSayWhy) {
    const std::string meta = R"("meta": {"image": "s.png"})";
    // A sheet of the one frame whose rectangle is given, and more of its entry.
    const auto frame = [&](const std::string& rectangle, const std::string& more = "") {
        return R"({"frames": [{"frame": {)" + rectangle + "}" + more + "}], " + meta + "}";
    };
    const std::string notWhole = "frame 0 has no \"frame\" rectangle of whole numbers within 32768";
    const std::pair<std::string, std::string> cases[] = {
        {"[1, 2", "it is not JSON"},
        {"{" + meta + "}", "it has no \"frames\" array or object"},
        {R"({"frames": []})", "its \"meta\" names no \"image\""},
        {frame(R"("x": -1, "y": 0, "w": 1, "h": 1)"), notWhole},
        {frame(R"("x": 0, "y": 0, "w": 1.5, "h": 1)"), notWhole},
        {frame(R"("x": 0, "y": 0, "w": 1, "h": 1)", R"(, "rotated": true)"), "frame 0 is rotated"},
        {frame(R"("x": 0, "y": 0, "w": 300, "h": 1)"),
         "frame 0 has a picture of 0 or above 256 pixels a side"},
        {frame(
             R"("x": 0, "y": 0, "w": 4, "h": 4)",
             R"(, "spriteSourceSize": {"x": 1, "y": 0, "w": 4, "h": 4}, "sourceSize": {"w": 4, "h": 4})"),
         "frame 0 does not lie inside its picture (\"spriteSourceSize\", \"sourceSize\")"},
        {R"({"frames": [{"frame": {"x": 0, "y": 0, "w": 1, "h": 1}}], "meta": {"image": "s.png",
            "pixmorph": {"repeats": [0]}}})",
         "its \"pixmorph\" entry is damaged"},
    };
    for (const auto& [text, problem] : cases)
        EXPECT_EQ(readSheetJson(text).problem, problem) << text;

    std::string many = R"({"meta": {"image": "s.png"}, "frames": [)";
    for (int i = 0; i < 65536; ++i)
        many += i ? ",0" : "0";
    EXPECT_EQ(readSheetJson(many + "]}").problem, "it lists 65536 frames, above 65535");
}

} // namespace
} // namespace pixmorph
