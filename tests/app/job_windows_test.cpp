#include "app/job_windows.h"
#include "fakes.h"
#include "support/job_files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

// Forced repaints arrive at the window's paint handler while the job runs, as on screen.
class ReenteringJobWindow : public testing::RecordingJobWindow {
public:
    void repaintNow() override {
        if (onRepaint)
            onRepaint();
    }
    std::function<void()> onRepaint;
};

long countOf(const std::vector<std::string>& log, const std::string& entry) {
    return std::count(log.begin(), log.end(), entry);
}

TEST(CompileWindow, ACancelledPickerAbortsWithOkEnabledAndNoJob) {
    testing::RecordingJobWindow window;
    CompileWindowLogic logic(CompileWindowSetup{});
    logic.initialise(window);
    EXPECT_EQ(window.pickerTitles, (std::vector<std::string>{"Locate QBL File"}));
    EXPECT_EQ(window.status, "Aborted.");
    EXPECT_TRUE(window.okEnabled);
    logic.paint(window);
    EXPECT_EQ(window.log, (std::vector<std::string>{"status Aborted."}));
}

TEST(CompileWindow, OnlyAQblNameStartsTheJob) {
    for (const char* path : {"/l/a.qbl", "/l/A.QBL", "/l/a.txt", "/l.qbl/a", "/l/a"}) {
        testing::RecordingJobWindow window;
        window.pickerAnswer = path;
        CompileWindowLogic logic(CompileWindowSetup{});
        logic.initialise(window);
        const bool accepted =
            std::string(path).ends_with(".qbl") || std::string(path).ends_with(".QBL");
        EXPECT_EQ(logic.jobStarted(), !accepted) << path;
        EXPECT_EQ(window.messages.size(), accepted ? 0u : 1u) << path;
        EXPECT_FALSE(window.okEnabled) << path;
        if (!accepted) {
            EXPECT_EQ(window.messages[0].text, "Not a .QBL File");
        }
    }
}

TEST(ExportWindow, TakesTheGivenSpriteOrAsksForOne) {
    testing::RecordingJobWindow window;
    ExportWindowSetup given;
    given.useGivenGrp = true;
    given.grpName = "/s/zealot.grp";
    ExportWindowLogic logic(given);
    logic.initialise(window);
    EXPECT_EQ(logic.inputPath(), "/s/zealot.grp");
    EXPECT_TRUE(window.pickerTitles.empty());

    ExportWindowLogic cancelled(ExportWindowSetup{});
    cancelled.initialise(window);
    window.choice = ExportMode::all;
    EXPECT_EQ(window.pickerTitles, (std::vector<std::string>{"Select File"}));
    cancelled.paint(window);
    EXPECT_EQ(cancelled.outcome(), JobOutcome::nothingToDo);
    EXPECT_FALSE(window.okEnabled);
}

TEST(JobWindows, RepaintsForcedByTheJobDoNotStartItAgain) {
    testing::ScratchDir folder;
    ReenteringJobWindow window;
    window.choice = ExportMode::all;
    ExportWindowSetup setup;
    setup.useGivenGrp = true;
    setup.grpName =
        folder.write("s.grp", testing::makeSprite(1, 8, 8, {std::nullopt, std::nullopt}));
    setup.outputDir = folder.path();
    ExportWindowLogic exportLogic(setup);
    exportLogic.initialise(window);
    window.onRepaint = [&] { exportLogic.paint(window); };
    exportLogic.paint(window);
    EXPECT_EQ(countOf(window.log, "choice"), 1);
    EXPECT_EQ(exportLogic.outcome(), JobOutcome::finished);

    window.pickerAnswer = folder.file("s.qbl");
    CompileWindowLogic compileLogic(CompileWindowSetup{folder.path(), Palette()});
    compileLogic.initialise(window);
    window.onRepaint = [&] { compileLogic.paint(window); };
    compileLogic.paint(window);
    EXPECT_EQ(countOf(window.log, "status Compiling GRP."), 1);
    EXPECT_EQ(compileLogic.outcome(), JobOutcome::finished);
}

} // namespace
} // namespace pixmorph
