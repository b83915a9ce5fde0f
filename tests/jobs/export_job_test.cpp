#include "core/file_error.h"
#include "jobs/export_job.h"
#include "jobs/recording_view.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using Calls = std::vector<std::string>;

Calls concat(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Calls kStart{"ask", "status Painting Bitmaps.", "repaint", "open 148"};
const Calls kFinish{"status Finished", "stop", "play 17 17 0", "ok"};

Calls progress(int frames) {
    Calls calls{"range 1 " + std::to_string(frames + 1), "step 1", "position 1"};
    calls.insert(calls.end(), frames, "advance");
    return calls;
}

TEST(ExportJob, WhatTheWindowShowsAndWhatIsWritten) {
    const Repeats threeFrames{std::nullopt, std::nullopt, 0}; // frame 2 repeats frame 0
    const struct {
        const char* name;
        std::string grp; // "" gives an empty path
        Repeats frames;
        std::optional<ExportMode> choice;
        JobOutcome outcome;
        Calls calls;
        std::set<std::string> files; // the folder afterwards
        std::string list;
    } cases[] = {
        // clang-format off
        {"all", "u.grp", threeFrames, ExportMode::all, JobOutcome::finished,
         concat({kStart, progress(3), kFinish}),
         {"u.grp", "u000.bmp", "u001.bmp", "u002.bmp", "u.qbl"},
         "u.grp\r\nu000.bmp\r\nu001.bmp\r\nu002.bmp\r\n"},
        {"unique", "u.grp", threeFrames, ExportMode::unique, JobOutcome::finished,
         concat({kStart, progress(3), kFinish}),
         {"u.grp", "u000.bmp", "u001.bmp", "u.qbl"},
         "u.grp\r\nu000.bmp\r\nu001.bmp\r\ndupe_of_u000.bmp\r\n"},
        {"no frames", "a.b.grp", {}, ExportMode::all, JobOutcome::finished,
         concat({kStart, progress(0), kFinish}), {"a.b.grp", "a.b.qbl"}, "a.b.grp\r\n"},
        {"wrong extension", "u.GRP", threeFrames, ExportMode::all, JobOutcome::failed,
         concat({kStart, {"message"}}), {"u.GRP"}, ""},
        {"empty path", "", {}, ExportMode::all, JobOutcome::nothingToDo, kStart, {}, ""},
        {"escape in the choice window", "u.grp", threeFrames, std::nullopt, JobOutcome::aborted,
         {"ask", "status Aborted.", "stop", "ok"}, {"u.grp"}, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string grp = c.grp.empty() ? "" : dir.file(c.grp);
        if (!grp.empty())
            writeFile(grp, makeSprite(7, 40, 30, c.frames));
        RecordingView view(c.choice);
        EXPECT_EQ(RunExport(view, {grp, "", Palette()}), c.outcome);
        EXPECT_EQ(view.calls, c.calls);
        EXPECT_EQ(dir.names(), c.files);
        if (!c.list.empty()) {
            EXPECT_EQ(readText(dir.file(c.grp.substr(0, c.grp.size() - 3) + "qbl")), c.list);
        }
        if (c.outcome == JobOutcome::failed) {
            EXPECT_EQ(view.messages, Calls{"! " + grp + " | Not a .GRP File"});
        }
    }
}

// Each refusal names the file; nothing is written, not even the bitmaps of the frames before it.
TEST(ExportJob, RefusalsAndFailures) {
    SpriteWriter writer(2); // two frames filling their 16 x 16 sprite
    IndexImage full;
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            full.set(x, y, 9);
    writer.addFrame(full, 16, 16);
    writer.addFrame(full, 16, 16);
    const ByteVector sprite = writer.finish();
    auto patched = [&sprite](std::size_t at, std::uint16_t value) {
        ByteVector bytes = sprite;
        putU16(bytes, at, value);
        return bytes;
    };
    auto cut = [&sprite](std::size_t size) {
        return ByteVector(sprite.begin(), sprite.begin() + size);
    };
    const struct {
        const char* name;
        ByteVector grp;
        std::string outputDir;
        std::string textPart;
        std::set<std::string> bitmaps;
    } cases[] = {
        {"wider than 256", patched(2, 257), "", "257 x 16", {}},
        {"no width", patched(2, 0), "", "width or height of 0", {}},
        {"frame 1 outside the picture", patched(14, 250), "", "frame 1 reaches", {}},
        {"frame 1 cut short", cut(sprite.size() - 3), "", "frame 1", {}},
        {"missing output folder", sprite, "gone", "gone/u000.bmp was not found", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        writeFile(dir.file("u.grp"), c.grp);
        RecordingView view;
        const std::string outputDir = c.outputDir.empty() ? "" : dir.file(c.outputDir);
        EXPECT_EQ(RunExport(view, {dir.file("u.grp"), outputDir, Palette()}), JobOutcome::failed);
        ASSERT_EQ(view.messages.size(), 1u);
        const std::string file = c.outputDir.empty() ? dir.file("u.grp") : outputDir + "/u000.bmp";
        const std::string icon = c.outputDir.empty() ? "! " : "stop ";
        EXPECT_TRUE(view.messages[0].starts_with(icon + file + " | " + dir.path()))
            << view.messages[0];
        EXPECT_NE(view.messages[0].find(c.textPart), std::string::npos) << view.messages[0];
        EXPECT_EQ(view.status, "Painting Bitmaps.");
        EXPECT_FALSE(view.okEnabled);
        std::set<std::string> expected = c.bitmaps;
        expected.insert("u.grp");
        EXPECT_EQ(dir.names(), expected);
    }
}

} // namespace
} // namespace pixmorph
