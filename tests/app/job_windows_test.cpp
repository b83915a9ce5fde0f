#include "app/job_windows.h"
#include "fakes.h"
#include "support/job_files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

// Forced repaints arrive at the window's paint handler while the job runs, as on screen.
struct ReenteringJobWindow : testing::RecordingJobWindow {
    void repaintNow() override { onRepaint(); }
    std::function<void()> onRepaint = [] {};
};

TEST(JobWindows, RepaintsForcedByTheJobDoNotStartItAgain) {
    testing::ScratchDir folder;
    ReenteringJobWindow window;
    window.choice = ExportMode::all;
    ExportWindowSetup setup;
    setup.useGivenGrp = true;
    setup.grpName = folder.write("s.grp", testing::makeSprite(1, 8, 8, {std::nullopt}));
    setup.outputDir = folder.path();
    ExportWindowLogic exportLogic(setup);
    exportLogic.initialise(window);
    window.onRepaint = [&] { exportLogic.paint(window); };
    exportLogic.paint(window);
    EXPECT_EQ(std::ranges::count(window.calls, "ask"), 1);

    window.pickerAnswer = "/l.qbl/a"; // only a name ending in .qbl or .QBL starts the job
    CompileWindowLogic refused(CompileWindowSetup{});
    refused.initialise(window);
    EXPECT_EQ(window.messages, std::vector<std::string>{"! /l.qbl/a | Not a .QBL File"});
    window.pickerAnswer = folder.file("s.qbl");
    CompileWindowLogic compileLogic(CompileWindowSetup{folder.path(), Palette()});
    compileLogic.initialise(window);
    window.onRepaint = [&] { compileLogic.paint(window); };
    compileLogic.paint(window);
    EXPECT_EQ(std::ranges::count(window.calls, "status Compiling GRP."), 1);
    EXPECT_EQ(compileLogic.outcome(), JobOutcome::finished);
}

} // namespace
} // namespace pixmorph
