// What the jobs report to their window; the round trips run through pixmorph-cli.
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

// A name the list could not give back is refused before anything is written.
TEST(ExportJob, ANameItsListCannotGiveBackIsRefused) {
    ScratchDir quoted;
    const std::string path = quoted.write("\"q\" 1.grp", makeSprite(5, 6, 4, Repeats(2)));
    RecordingDelegate view(ExportMode::all);
    EXPECT_EQ(runExportJob(view, {path, "", Palette()}), JobOutcome::failed);
    EXPECT_EQ(view.messages, Calls{"! " + path + " | " +
                                   fillIn(msg::kListNameNotWritable, {path, "\"q\" 1.grp"})});
    EXPECT_EQ(quoted.names().size(), 1u);
}

} // namespace
} // namespace pixmorph
