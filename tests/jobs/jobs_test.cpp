// What the jobs report; a sprite exported and compiled back is the same file.
#include "core/core_test_files.h"
#include "core/messages.h"
#include "jobs/compile_job.h"
#include "jobs/export_job.h"
#include "jobs/recording_delegate.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using Calls = std::vector<std::string>;

// An uncompressed 24-bit bitmap of one row, black or white: 0 or 1 for each cell.
ByteVector bmp24(const std::vector<int>& cells) {
    ByteVector data;
    for (const int white : cells)
        data.insert(data.end(), 3, white ? 255 : 0);
    data.resize((data.size() + 3) / 4 * 4);
    return test::handLaidBmp(static_cast<std::int32_t>(cells.size()), 1, 24, 0, data);
}

// A list with a repeat, then one with a bitmap too broad for a sprite in mid-list (the other
// refusals are in the malformed-input suite): a failure keeps the earlier sprite.
TEST(CompileJob, WhatTheWindowShowsAndAFailureKeepsTheEarlierSprite) {
    // clang-format off
    const Calls start = {"started", "read u.qbl", "progress 0 3", "read u000.bmp", "progress 1 3"};
    Calls finished = start, failed = start;
    finished.insert(finished.end(), {"read u001.bmp", "progress 2 3", "write x_u.grp",
                                     "finished"});
    failed.insert(failed.end(), {"read broad.bmp", "refused 1", "message", "failed"});
    // clang-format on
    std::vector<int> wide(256, 0);
    wide.front() = wide.back() = 1; // a box of 256 columns
    for (const bool broad : {false, true}) {
        ScratchDir dir;
        writeFile(dir.file("u.qbl"),
                  std::string(broad ? "u.grp u000.bmp broad.bmp u001.bmp"
                                    : "u.grp u000.bmp u001.bmp dupe_of_u000.bmp"));
        writeFile(dir.file("u000.bmp"), bmp24({1, 0}));
        writeFile(dir.file("u001.bmp"), bmp24({0, 1, 1}));
        writeFile(dir.file("broad.bmp"), bmp24(wide));
        writeFile(dir.file("x_u.grp"), std::string("old"));
        const auto before = dir.names();
        RecordingDelegate delegate;
        EXPECT_EQ(runCompileJob(delegate, {dir.file("u.qbl"), "", Palette()}),
                  broad ? JobOutcome::failed : JobOutcome::finished);
        EXPECT_EQ(delegate.events, broad ? failed : finished);
        EXPECT_EQ(dir.names(), before);
        EXPECT_EQ(readText(dir.file("x_u.grp")) == "old", broad);
        const std::string bitmap = dir.file("broad.bmp"),
                          text = fillIn(msg::kBitmapNotFitting,
                                        {bitmap, fillIn(msg::kFrameBoxTooLarge, "1")});
        EXPECT_EQ(delegate.messages, broad ? Calls{"! " + bitmap + " | " + text} : Calls{});
    }
}

// Damaged sprites, names and failed writes: the malformed-input suite; repeats: the round trip.
TEST(ExportJob, WhatTheWindowShowsAndWhatIsWritten) {
    // clang-format off
    const Calls all = {"ask", "started", "read u.grp", "progress 0 3",
                       "progress 1 3", "write u000.bmp", "progress 2 3", "write u001.bmp",
                       "progress 3 3", "write u002.bmp", "write u.qbl", "finished"};
    // clang-format on
    for (const bool escape : {false, true}) {
        ScratchDir dir;
        writeFile(dir.file("u.grp"), makeSprite(7, 40, 30, {std::nullopt, std::nullopt, 0}));
        RecordingDelegate delegate(escape ? std::nullopt : std::optional(ExportMode::all));
        EXPECT_EQ(runExportJob(delegate, {dir.file("u.grp"), "", Palette()}),
                  escape ? JobOutcome::cancelled : JobOutcome::finished);
        EXPECT_EQ(delegate.events, (escape ? Calls{"ask", "cancelled"} : all));
        EXPECT_EQ(dir.names().size(), escape ? 1u : 5u);
        EXPECT_EQ(readText(dir.file("u.qbl")),
                  escape ? "" : "u.grp\r\nu000.bmp\r\nu001.bmp\r\nu002.bmp\r\n");
    }
}

struct Compiled {
    ByteVector sprite, compact;
};

// Exports name.grp (frames with their own data only, unless All) and compiles its list back,
// as specified and compact, the list's first line changed to newName.grp when one is given.
// The compact sprite draws every frame as the other, in fewer bytes.
Compiled exportAndCompile(const ScratchDir& dir, const std::string& name,
                          ExportMode mode = ExportMode::unique, std::string newName = {}) {
    RecordingDelegate exportView(mode), compileView, compactView;
    EXPECT_EQ(runExportJob(exportView, {dir.file(name + ".grp"), "", Palette()}),
              JobOutcome::finished);
    const std::string listPath = dir.file(name + ".qbl"), compactDir = dir.file("compact");
    if (!newName.empty()) {
        std::string list = readText(listPath);
        writeFile(listPath, newName + ".grp" + list.substr(list.find('\r')));
    } else {
        newName = name;
    }
    std::filesystem::create_directory(compactDir);
    EXPECT_EQ(runCompileJob(compileView, {listPath, "", Palette()}), JobOutcome::finished);
    EXPECT_EQ(runCompileJob(compactView,
                            {listPath, compactDir, Palette(), SpriteEncoding::runLength, true}),
              JobOutcome::finished);
    EXPECT_EQ(
        exportView.messages.size() + compileView.messages.size() + compactView.messages.size(), 0u);
    Compiled compiled{readFile(dir.file("x_" + newName + ".grp")),
                      readFile(compactDir + "/x_" + newName + ".grp")};
    EXPECT_EQ(readSpriteHeader(compiled.compact), readSpriteHeader(compiled.sprite)) << name;
    EXPECT_EQ(test::drawnFrames(compiled.compact), test::drawnFrames(compiled.sprite)) << name;
    EXPECT_LT(compiled.compact.size(), compiled.sprite.size()) << name;
    return compiled;
}

// Every frame of the compiled sprite shows what the same frame of the original shows.
void expectSamePictures(const ByteVector& original, const ByteVector& compiled,
                        const std::string& name) {
    const SpriteHeader header = readSpriteHeader(original).value();
    ASSERT_EQ(readSpriteHeader(compiled), header) << name;
    FrameCanvas before, after;
    for (std::size_t i = 0; i < header.frameCount; ++i) {
        decodeFrame(original, *readFrameEntry(original, i), before);
        decodeFrame(compiled, *readFrameEntry(compiled, i), after);
        EXPECT_TRUE(before == after) << name << ", frame " << i;
    }
}

TEST(RoundTrip, SpritesOfOurWriter) {
    const Repeats repeats{std::nullopt, std::nullopt, 1, std::nullopt, 0};
    Repeats many(1003); // frame numbers past three digits
    many[1001] = 1000, many[1002] = 7;
    const std::tuple<int, int, Repeats> shapes[] = {
        {256, 17, repeats}, {17, 256, repeats}, {6, 4, many}};
    for (const auto& [width, height, frames] : shapes) {
        ScratchDir dir;
        const ByteVector sprite = makeSprite(width + height, width, height, frames);
        writeFile(dir.file("s.grp"), sprite);
        EXPECT_EQ(exportAndCompile(dir, "s").sprite, sprite) << width << " x " << height;
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
    for (const ExportMode mode : {ExportMode::all, ExportMode::unique}) {
        ScratchDir dir;
        writeFile(dir.file("s.grp"), sprite);
        expectSamePictures(sprite, exportAndCompile(dir, "s", mode).sprite, "s");
        if (mode == ExportMode::unique) {
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
    writeFile(dir.file("cmd1.grp"), sprite);
    EXPECT_EQ(exportAndCompile(dir, "cmd1", ExportMode::unique, "cmd").sprite, sprite);
    writeFile(dir.file("my unit.grp"), sprite);
    EXPECT_EQ(exportAndCompile(dir, "my unit").sprite, sprite);
    EXPECT_EQ(readText(dir.file("my unit.qbl")).substr(0, 33),
              "\"my unit.grp\"\r\n\"my unit000.bmp\"\r\n");

    // A name the list could not give back is refused before anything is written.
    ScratchDir quoted;
    const std::string path = quoted.write("\"q\" 1.grp", sprite);
    RecordingDelegate view(ExportMode::all);
    EXPECT_EQ(runExportJob(view, {path, "", Palette()}), JobOutcome::failed);
    EXPECT_EQ(view.messages, Calls{"! " + path + " | " +
                                   fillIn(msg::kListNameNotWritable, {path, "\"q\" 1.grp"})});
    EXPECT_EQ(quoted.names().size(), 1u);
}

// Sprites made by other tools: the pixels come back, though the bytes differ. The uncompressed
// variant (icons) may be refused.
TEST(RoundTrip, RealSamples) {
    std::filesystem::path samples = PIXMORPH_SOURCE_DIR "/../shared/real-samples";
    if (!std::filesystem::is_directory(samples))
        samples = PIXMORPH_SOURCE_DIR "/../../shared/real-samples"; // from a worktree
    if (!std::filesystem::is_directory(samples))
        GTEST_SKIP() << "no real samples";
    for (const auto& file : std::filesystem::directory_iterator(samples)) {
        const std::string name = file.path().stem();
        if (file.path().extension() != ".grp" || name == "icons")
            continue;
        ScratchDir dir;
        const ByteVector original = readFile(file.path());
        writeFile(dir.file(name + ".grp"), original);
        for (const ExportMode mode : {ExportMode::unique, ExportMode::all})
            expectSamePictures(original, exportAndCompile(dir, name, mode).sprite, name);
    }
}

} // namespace
} // namespace pixmorph
