#include "core/preview.h"
#include "scripted_services.h"

#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

namespace fs = std::filesystem;

QRgb colourOf(int paletteIndex) {
    const std::uint32_t c = DefaultPalette.entries[static_cast<std::size_t>(paletteIndex)];
    return qRgb(Palette::red(c), Palette::green(c), Palette::blue(c));
}

// The start-up file shown at first paint, then buttons, the scale box and a whole export and
// compile clicked through. The sprite: three frames of 10 x 8 in palette entries 10, 20, 30.
TEST(MainWindow, StartupFileButtonsScaleAndJobsReachTheLogic) {
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString(), sprite = root / "sprite.grp";
    writeSprite(sprite.string(), 3, 10, 8, 10, 8);
    ConverterState state;
    state.locations.outputDir = state.fields.outputDirText = root.string();
    state.startup.file = sprite.string();
    WindowUnderTest shown(state);
    MainWindow& window = shown.window;
    window.logic().initialise();
    window.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(shown.text(ids::kFrameCount), "3");
    window.repaint(); // the frame stays in the box's corner, the rest of the box black
    const QImage grabbed = window.grab().toImage();
    EXPECT_EQ(grabbed.pixel(kPreviewLeft + 9, kPreviewTop + 7), colourOf(10));
    EXPECT_EQ(grabbed.pixel(kPreviewLeft + 40, kPreviewTop + 40), qRgb(0, 0, 0));

    shown.click(ids::kNextFrame);
    shown.click(ids::kNextFrame);
    EXPECT_EQ(shown.text(ids::kFrameNumber), "2");
    EXPECT_FALSE(window.control(ids::kNextFrame)->isEnabled());
    // The frame's box is 10 x 9 (its closing transparent row included); scaled, it grows until
    // it meets the preview box's right edge: 148 x 133.
    shown.click(ids::kScale);
    const QImage& layer = window.previewLayer().image();
    EXPECT_EQ(layer.pixel(147, 117), colourOf(30));
    EXPECT_EQ(layer.pixel(147, 125), colourOf(0));
    EXPECT_EQ(layer.pixel(147, 140), qRgb(0, 0, 0));

    shown.click(ids::kWriteOutBmps);
    shown.services.filePick = (root / "sprite.qbl").string();
    shown.click(ids::kCompileToGrp);
    EXPECT_EQ(shown.services.windows, (std::vector<std::string>{"splash", "job", "choice", "job"}));
    EXPECT_EQ(shown.services.jobs, (std::vector<std::string>{"Finished 17", "Finished. 17"}));
    EXPECT_TRUE(fs::exists(root / "x_sprite.grp"));
    EXPECT_TRUE(shown.services.messages.empty());
}

// Escape while the job runs (here while it waits for the export choice) closes the window only
// once the job has ended: the job's reports never reach a closed window.
TEST(JobWindow, ACloseAskedWhileTheJobRunsFollowsItsEnd) {
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString(), sprite = root / "s.grp";
    writeSprite(sprite.string(), 1, 1, 1, 1, 1);
    struct ClosingServices : ScriptedServices {
        JobWindow* job = nullptr;
        bool openAfterClose = false;
        int runModal(QDialog& dialog) override {
            if (dynamic_cast<ExportChoiceWindow*>(&dialog)) {
                job->reject();
                openAfterClose = job->isVisible();
            }
            return ScriptedServices::runModal(dialog);
        }
    } services;
    JobWindow window(ExportWindowSetup{root.string(), true, sprite.string(), Palette()}, services,
                     nullptr);
    services.job = &window;
    EXPECT_EQ(window.run(), QDialog::Rejected);
    EXPECT_TRUE(services.openAfterClose);
    EXPECT_EQ(window.outcome(), JobOutcome::finished);
    EXPECT_TRUE(fs::exists(root / "s.qbl"));
}

} // namespace
} // namespace pixmorph::ui
