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

// The refusals of damaged sprites and failed writes are in the malformed-input suite.

} // namespace
} // namespace pixmorph
