// The job windows: their input steps, and the job's reports as each window shows them.
#include "app/job_windows.h"
#include "fakes.h"
#include "support/job_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace pixmorph {
namespace {

using namespace testing;
using Calls = std::vector<std::string>;

// Finished: the status, the clip standing on its last frame, OK; the bar has a step more than
// the frames. Escape on the question: "Aborted." and OK, nothing written.
TEST(JobWindows, ExportShowsItsRunAndItsCancel) {
    for (const bool escape : {false, true}) {
        ScratchDir folder;
        RecordingJobWindow window;
        window.choice = escape ? std::nullopt : std::optional(ExportMode::all);
        ExportWindowSetup setup;
        setup.useGivenGrp = true;
        setup.grpName = folder.write("s.grp", makeSprite(1, 8, 8, {std::nullopt, 0}));
        setup.outputDir = folder.path();
        JobWindowLogic logic(setup, window);
        logic.initialise();
        runJobHere(logic);
        runJobHere(logic); // once only
        const Calls finished = {"ask",        "status Painting Bitmaps.",
                                "clip 148",   "range 1 3",
                                "position 1", "position 2",
                                "position 3", "status Finished",
                                "still 17",   "ok"};
        EXPECT_EQ(window.calls,
                  (escape ? Calls{"ask", "status Aborted.", "stop", "ok"} : finished));
        EXPECT_EQ(logic.outcome(), escape ? JobOutcome::cancelled : JobOutcome::finished);
        EXPECT_EQ(folder.names().size(), escape ? 1u : 4u);
    }
}

// A cancelled picker: "Aborted." and OK at once; a name that is no list: the message, then
// "Stopped." and OK; neither runs the job. A list: the clip once it is read, the bar stepped per
// bitmap (not for the repeat) and emptied at the end.
TEST(JobWindows, CompileRefusesItsInputOrShowsItsRun) {
    ScratchDir folder;
    const std::string sprite = folder.write("s.grp", makeSprite(1, 8, 8, {std::nullopt, 0}));
    RecordingJobWindow exported;
    exported.choice = ExportMode::unique;
    runJobWindow(ExportWindowSetup{folder.path(), true, sprite, Palette()}, exported);
    RecordingJobWindow cancelled, notAList, window;
    notAList.pickerAnswer = "/l.qbl/a"; // only a name ending in .qbl or .QBL starts the job
    window.pickerAnswer = folder.file("s.qbl");
    for (RecordingJobWindow* w : {&cancelled, &notAList, &window}) {
        JobWindowLogic logic(CompileWindowSetup{folder.path(), Palette()}, *w);
        logic.initialise();
        EXPECT_EQ(logic.state(), w == &window ? JobState::ready : JobState::refused);
        runJobHere(logic);
    }
    EXPECT_EQ(cancelled.calls, (Calls{"status Aborted.", "ok"}));
    EXPECT_EQ(notAList.messages, Calls{"! | Not a .QBL File"});
    EXPECT_EQ(notAList.calls, (Calls{"message", "status Stopped.", "stop", "ok"}));
    EXPECT_EQ(window.calls,
              (Calls{"status Compiling GRP.", "clip 141", "range 1 2", "position 1", "position 2",
                     "position 0", "status Finished.", "still 17", "ok"}));
}

// No window is left without OK once its job has ended: a failed compile (a bitmap gone) and
// an export with no sprite given stop the clip and enable OK.
TEST(JobWindows, EveryEndLeavesOkEnabled) {
    ScratchDir folder;
    folder.write("s.qbl", std::string("s.grp\r\ns000.bmp\r\n"));
    RecordingJobWindow compile, exportWindow;
    compile.pickerAnswer = folder.file("s.qbl");
    EXPECT_EQ(runJobWindow(CompileWindowSetup{folder.path(), Palette()}, compile),
              JobOutcome::failed);
    runJobWindow(ExportWindowSetup{folder.path(), true, "", Palette()}, exportWindow);
    for (const auto& [window, last] :
         {std::pair{&compile, "status Stopped."}, std::pair{&exportWindow, "status Aborted."}}) {
        ASSERT_GE(window->calls.size(), 3u);
        EXPECT_EQ(Calls(window->calls.end() - 3, window->calls.end()), (Calls{last, "stop", "ok"}));
    }
}

// The context menu's own jobs: "Write Out Sheet…" writes a PNG sheet and its JSON, which the
// compile window takes like a list; "Compile Compact…" writes the same frames in fewer bytes.
TEST(JobWindows, SheetAndCompactJobs) {
    ScratchDir folder;
    const ByteVector sprite = makeSprite(3, 8, 8, {std::nullopt, std::nullopt, 0});
    ExportWindowSetup sheetSetup{folder.path(), true, folder.write("s.grp", sprite), Palette()};
    sheetSetup.sheetColumns = 17;
    RecordingJobWindow exportWindow;
    exportWindow.choice = ExportMode::unique;
    EXPECT_EQ(runJobWindow(sheetSetup, exportWindow), JobOutcome::finished);
    EXPECT_EQ(folder.names(), (std::set<std::string>{"s.grp", "s.json", "s.png"}));

    ByteVector compiled[2];
    for (const bool compact : {false, true}) {
        RecordingJobWindow window;
        window.pickerAnswer = folder.file("s.JSON");
        std::filesystem::rename(folder.file("s.json"), folder.file("s.JSON"));
        EXPECT_EQ(runJobWindow(CompileWindowSetup{folder.path(), Palette(), compact}, window),
                  JobOutcome::finished)
            << compact;
        compiled[compact] = readFile(folder.file("x_s.grp"));
        std::filesystem::rename(folder.file("s.JSON"), folder.file("s.json"));
    }
    EXPECT_EQ(compiled[0], sprite);
    EXPECT_LT(compiled[1].size(), compiled[0].size());
}

} // namespace
} // namespace pixmorph
