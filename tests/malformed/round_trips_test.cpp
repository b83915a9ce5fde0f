// Sprites exported and compiled back through pixmorph-cli in every form of the export (bitmap
// and PNG frames, frame ranges, sheets): the sprite comes back, or what the bitmaps make.
#include "cli_run.h"
#include "core/core_test_files.h"
#include "support/job_files.h"
#include "support/real_samples.h"

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

// Runs the command on the input with the options, which must succeed.
void runs(std::string command, Args options, const std::string& input) {
    options.insert(options.begin(), std::move(command));
    options.push_back(input);
    const test::CliRun run = runCli(options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// s.grp of the folder exported with the options, then compiled back from what the export names.
ByteVector exportAndCompile(const std::string& folder, const Args& exportOptions,
                            const std::string& compiled = "s.qbl",
                            const Args& compileOptions = {}) {
    runs("export", exportOptions, folder + "/s.grp");
    runs("compile", compileOptions, folder + "/" + compiled);
    return readFile(folder + "/x_s.grp");
}

ByteVector exportAndCompile(const ByteVector& sprite, const Args& exportOptions,
                            const std::string& compiled = "s.qbl",
                            const Args& compileOptions = {}) {
    ScratchDir dir;
    writeFile(dir.file("s.grp"), sprite);
    return exportAndCompile(dir.path(), exportOptions, compiled, compileOptions);
}

// The list compiled compact draws every frame as the sprite does, in fewer bytes.
void expectCompactDrawsTheSame(const std::string& list, const ByteVector& sprite) {
    ScratchDir out;
    runs("compile", {"--compact", "--output-dir", out.path()}, list);
    EXPECT_TRUE(test::drawsTheSameInFewerBytes(readFile(out.file(*out.names().begin())), sprite));
}

// Every frame of the compiled sprite shows what the same frame of the original shows.
void expectSamePictures(const ByteVector& original, const ByteVector& compiled) {
    const SpriteHeader header = readSpriteHeader(original).value();
    ASSERT_EQ(readSpriteHeader(compiled), header);
    FrameCanvas before, after;
    for (std::size_t i = 0; i < header.frameCount; ++i) {
        decodeFrame(original, *readFrameEntry(original, i), before);
        decodeFrame(compiled, *readFrameEntry(compiled, i), after);
        EXPECT_TRUE(before == after) << "frame " << i;
    }
}

TEST(RoundTrip, OurSpritesInEveryForm) {
    for (const ByteVector& sprite : testSprites()) {
        SCOPED_TRACE(readSpriteHeader(sprite)->frameCount);
        ScratchDir dir;
        writeFile(dir.file("s.grp"), sprite);
        EXPECT_EQ(exportAndCompile(dir.path(), {"--unique"}), sprite);
        expectCompactDrawsTheSame(dir.file("s.qbl"), sprite);
        ScratchDir raw; // the uncompressed variant exports as the sprite does
        writeFile(raw.file("s.grp"),
                  exportAndCompile(dir.path(), {"--unique"}, "s.qbl", {"--uncompressed"}));
        EXPECT_EQ(exportAndCompile(raw.path(), {"--unique"}), sprite);
        const ByteVector all = exportAndCompile(sprite, {});
        EXPECT_EQ(exportAndCompile(sprite, {"--unique", "--format", "png"}), sprite);
        EXPECT_EQ(exportAndCompile(sprite, {"--format", "png"}), all);
        EXPECT_EQ(exportAndCompile(sprite, {"--sheet", "--unique"}, "s.json"), sprite);
        EXPECT_EQ(exportAndCompile(sprite, {"--sheet", "--format", "bmp", "--unique"}, "s.json"),
                  sprite);
        EXPECT_EQ(exportAndCompile(sprite, {"--sheet", "--columns", "3"}, "s.json"), all);
    }
}

// The All export draws a frame whose entry repeats an earlier one's once; frames that share
// only the data block, at other places, are other pictures.
TEST(RoundTrip, FramesSharingADataBlockAtOtherPlaces) {
    ByteVector sprite =
        test::handLaidSprite(12, 12,
                             {{0, 0, 3, 2, {{0x01, 5, 0x01, 6, 0x81}, {0x41, 9, 0x42, 8}}},
                              {4, 0, 3, 2, {}},
                              {0, 4, 3, 2, {}},
                              {0, 0, 3, 2, {}},
                              {4, 4, 3, 2, {}},
                              {0, 0, 3, 1, {}},
                              {0, 0, 1, 2, {}}});
    const std::uint32_t shared = readFrameEntry(sprite, 0)->dataOffset;
    for (std::size_t i = 1; i < 7; ++i)
        putU32(sprite, kSpriteHeaderSize + i * kFrameEntrySize + 4, shared);
    // Unique too: only frame 3, whose whole entry is frame 0's, is a repeat.
    for (const bool unique : {false, true}) {
        ScratchDir dir;
        writeFile(dir.file("s.grp"), sprite);
        expectSamePictures(sprite,
                           exportAndCompile(dir.path(), unique ? Args{"--unique"} : Args{}));
        expectCompactDrawsTheSame(dir.file("s.qbl"), readFile(dir.file("x_s.grp")));
        if (unique) {
            EXPECT_NE(readText(dir.file("s.qbl")).find("\r\ndupe_of_s000.bmp\r\ns004.bmp"),
                      std::string::npos);
        }
    }
}

// Repeats follow their bitmap's name, not the sprite's: read by the number after the new
// name, dupe_of_cmd1007.bmp would have been frame 1007 of the list instead of frame 7.
TEST(RoundTrip, ListsRenamedOrNamedWithBlanks) {
    Repeats repeats(1010);
    repeats[1009] = 7, repeats[1008] = 1001;
    ScratchDir dir;
    const ByteVector sprite = makeSprite(5, 6, 4, repeats);
    runs("export", {"--unique"}, dir.write("cmd1.grp", sprite));
    const std::string list = readText(dir.file("cmd1.qbl"));
    writeFile(dir.file("cmd1.qbl"), "cmd.grp" + list.substr(list.find('\r')));
    runs("compile", {}, dir.file("cmd1.qbl"));
    EXPECT_EQ(readFile(dir.file("x_cmd.grp")), sprite);
    expectCompactDrawsTheSame(dir.file("cmd1.qbl"), sprite);

    runs("export", {"--unique"}, dir.write("my unit.grp", sprite));
    EXPECT_TRUE(
        readText(dir.file("my unit.qbl")).starts_with("\"my unit.grp\"\r\n\"my unit000.bmp\"\r\n"));
    runs("compile", {}, dir.file("my unit.qbl"));
    EXPECT_EQ(readFile(dir.file("x_my unit.grp")), sprite);
}

// Sprites made by other tools: the pixels come back, though the bytes differ. The uncompressed
// variant (icons) may be refused.
TEST(RoundTrip, RealSamples) {
    const auto samples = test::realSamplesFolder();
    if (!samples)
        GTEST_SKIP() << "no real samples";
    for (const auto& file : std::filesystem::directory_iterator(*samples)) {
        if (file.path().extension() != ".grp" || file.path().stem() == "icons")
            continue;
        SCOPED_TRACE(file.path());
        const ByteVector original = readFile(file.path());
        for (const bool unique : {false, true}) {
            ScratchDir dir;
            writeFile(dir.file("s.grp"), original);
            const ByteVector compiled =
                exportAndCompile(dir.path(), unique ? Args{"--unique"} : Args{});
            expectSamePictures(original, compiled);
            expectCompactDrawsTheSame(dir.file("s.qbl"), compiled);
        }
    }
}

TEST(RoundTrip, FrameRangesNoteTheFullCount) {
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

    // A sheet of the frames notes the same, and names its sprite whatever its own name.
    std::filesystem::remove(dir.file("x_s.grp"));
    ASSERT_EQ(runCli({"export", "--sheet", "--frames", "0-16,34,3", dir.file("s.grp")}).exitCode,
              0);
    std::filesystem::rename(dir.file("s.json"), dir.file("t.json"));
    EXPECT_EQ(runCli({"compile", dir.file("t.json")}).err,
              dir.file("t.json") + " holds 18 of the sprite's 40 frames. Compile it with --partial "
                                   "to make a sprite of these frames alone.\n");
    ASSERT_EQ(runCli({"compile", "--partial", dir.file("t.json")}).exitCode, 0);
    EXPECT_EQ(readFile(dir.file("x_s.grp")), part);

    const test::CliRun past = runCli({"export", "--frames", "39-40", dir.file("s.grp")});
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_EQ(past.err, dir.file("s.grp") +
                            " has 40 frames: the frames asked for reach past its last, "
                            "frame 39.\n");
    EXPECT_EQ(runCli({"export", "--frames", "2-1", dir.file("s.grp")}).exitCode, 2);
}

TEST(Sheet, LayoutAndItsRefusals) {
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
