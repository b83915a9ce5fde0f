// The export's other forms (PNG frames, frame ranges, sheets, animations) through pixmorph-cli,
// each compiled back against the bitmap path.
#include "cli_run.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using test::runCli;
using Args = std::vector<std::string>;

// Sprites of our writer: repeats, the widest and tallest frames, frame numbers past three
// digits.
std::vector<ByteVector> testSprites() {
    const Repeats repeats{std::nullopt, std::nullopt, 1, std::nullopt, 0};
    Repeats many(1003);
    many[1001] = 1000, many[1002] = 7;
    return {makeSprite(1, 256, 17, repeats), makeSprite(2, 17, 256, repeats),
            makeSprite(3, 6, 4, many), makeSprite(4, 256, 256, Repeats(3))};
}

// The sprite exported with the options, then compiled back from what the export names.
ByteVector exportAndCompile(const ByteVector& sprite, const Args& exportOptions,
                            const std::string& compiled = "s.qbl",
                            const Args& compileOptions = {}) {
    ScratchDir dir;
    writeFile(dir.file("s.grp"), sprite);
    Args exportArgs{"export"};
    exportArgs.insert(exportArgs.end(), exportOptions.begin(), exportOptions.end());
    exportArgs.push_back(dir.file("s.grp"));
    const test::CliRun exported = runCli(exportArgs);
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    Args compileArgs{"compile"};
    compileArgs.insert(compileArgs.end(), compileOptions.begin(), compileOptions.end());
    compileArgs.push_back(dir.file(compiled));
    const test::CliRun run = runCli(compileArgs);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return readFile(dir.file("x_s.grp"));
}

TEST(PictureForms, PngFramesRoundTripAsTheBitmapsDo) {
    for (const ByteVector& sprite : testSprites()) {
        EXPECT_EQ(exportAndCompile(sprite, {"--unique", "--format", "png"}), sprite);
        EXPECT_EQ(exportAndCompile(sprite, {"--format", "png"}), exportAndCompile(sprite, {}));
    }
}

TEST(PictureForms, FrameRangesNoteTheFullCount) {
    ScratchDir dir;
    const ByteVector sprite = makeSprite(5, 20, 10, Repeats(40));
    writeFile(dir.file("s.grp"), sprite);
    EXPECT_EQ(runCli({"export", "--unique", "--frames", "0-16,34,3", dir.file("s.grp")}).exitCode,
              0);
    const std::string list = readText(dir.file("s.qbl"));
    EXPECT_TRUE(list.ends_with("s016.bmp\r\ns034.bmp\r\npartial_of_40\r\n")) << list;
    EXPECT_EQ(dir.names().size(), 2u + 18u);

    const test::CliRun refused = runCli({"compile", dir.file("s.qbl")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, dir.file("s.qbl") + " holds 18 of the sprite's 40 frames. Compile it "
                                               "with --partial to make a sprite of these frames "
                                               "alone.\n");
    EXPECT_FALSE(dir.names().contains("x_s.grp"));
    ASSERT_EQ(runCli({"compile", "--partial", dir.file("s.qbl")}).exitCode, 0);
    const ByteVector part = readFile(dir.file("x_s.grp"));
    EXPECT_EQ(readSpriteHeader(part)->frameCount, 18);
    FrameCanvas original, compiled;
    decodeFrame(sprite, *readFrameEntry(sprite, 34), original);
    decodeFrame(part, *readFrameEntry(part, 17), compiled);
    EXPECT_TRUE(original == compiled);

    const test::CliRun past = runCli({"export", "--frames", "39-40", dir.file("s.grp")});
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_EQ(past.err, dir.file("s.grp") +
                            " has 40 frames: the frames asked for reach past its last, "
                            "frame 39.\n");
    EXPECT_EQ(runCli({"export", "--frames", "2-1", dir.file("s.grp")}).exitCode, 2);
}

// PNG and BMP sheets, every frame or the unique ones, compile back to what the bitmaps make.
TEST(PictureForms, SheetsRoundTripAsTheBitmapsDo) {
    for (const ByteVector& sprite : testSprites()) {
        const ByteVector all = exportAndCompile(sprite, {});
        EXPECT_EQ(exportAndCompile(sprite, {"--sheet", "--unique"}, "s.json"), sprite);
        EXPECT_EQ(exportAndCompile(sprite, {"--sheet", "--format", "bmp", "--unique"}, "s.json"),
                  sprite);
        EXPECT_EQ(exportAndCompile(sprite, {"--sheet", "--columns", "3"}, "s.json"), all);
    }
}

TEST(PictureForms, SheetLayoutAndItsRefusals) {
    ScratchDir dir;
    writeFile(dir.file("s.grp"), makeSprite(6, 10, 7, Repeats(20)));
    ASSERT_EQ(runCli({"export", "--sheet", dir.file("s.grp")}).exitCode, 0);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"s.grp", "s.png", "s.json"}));
    const std::string json = readText(dir.file("s.json"));
    // 17 columns of 10 x 7 cells, frame 18 in the second row.
    EXPECT_NE(json.find(R"("size": {
   "w": 170,
   "h": 14
  })"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("filename": "s018",
   "frame": {
    "x": 10,
    "y": 7,)"),
              std::string::npos);

    EXPECT_EQ(runCli({"export", "--columns", "3", dir.file("s.grp")}).exitCode, 2);
    writeFile(dir.file("s.json"), std::string(R"({"frames": [], "meta": {"image": "../s.png"}})"));
    const test::CliRun outside = runCli({"compile", dir.file("s.json")});
    EXPECT_EQ(outside.err, dir.file("s.json") + " cannot be compiled as a sprite sheet: its image "
                                                "must be a file name without a folder.\n");
    writeFile(dir.file("s.json"),
              std::string(R"({"frames": [{"frame": {"x": 165, "y": 0, "w": 10, "h": 7}}],
                              "meta": {"image": "s.png"}})"));
    EXPECT_EQ(runCli({"compile", dir.file("s.json")}).err,
              dir.file("s.json") + " cannot be compiled as a sprite sheet: frame 0 reaches "
                                   "outside the sheet s.png.\n");
    EXPECT_FALSE(dir.names().contains("x_s.grp"));
}

} // namespace
} // namespace pixmorph
