#include "core/preview.h"
#include "scripted_services.h"
#include "ui/large_preview_window.h"
#include "ui/qt_settings_store.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

void waitMs(int ms) {
    processEventsUntil([] { return false; }, ms);
}

void press(QWidget& widget, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &down);
}

// P plays the frames of a 5-frame sprite and > stops it; a double-click on the preview opens
// the large preview, which follows the frame, zooms and keeps its zoom in its own section.
TEST(PreviewExtras, PlayStopAndTheLargePreview) {
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const std::string sprite = folder.path().toStdString() + "/sprite.grp";
    writeSprite(sprite, 5, 6, 4, 2, 2);
    ConverterState state;
    state.startup.file = sprite;
    WindowUnderTest shown(state);
    MainWindow& window = shown.window;
    window.logic().initialise();
    window.show();
    waitMs(50);
    const auto frameText = [&] { return shown.text(ids::kFrameNumber); };
    ASSERT_EQ(frameText(), "0");

    press(window, Qt::Key_P);
    waitMs(300); // about 7 frames at 24 a second: wrapped at least once
    EXPECT_TRUE(window.extras().playback().playing());
    shown.click(ids::kNextFrame);
    EXPECT_FALSE(window.extras().playback().playing());
    const std::string stoppedAt = frameText();
    waitMs(100);
    EXPECT_EQ(frameText(), stoppedAt);

    const QPoint inPreview =
        window.client().mapTo(&window, QPoint(kPreviewLeft + 5, kPreviewTop + 5));
    QMouseEvent click(QEvent::MouseButtonDblClick, inPreview, window.mapToGlobal(inPreview),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &click);
    LargePreviewWindow* large = window.extras().largePreview();
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large->picture().size(), QSize(6, 4));
    const QRgb before = large->picture().pixel(1, 1);
    EXPECT_EQ(large->picture().pixel(2, 2), 0u) << "index 0 is transparent";
    press(*large, stoppedAt == "0" ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_NE(frameText(), stoppedAt);
    EXPECT_NE(large->picture().pixel(1, 1), before) << "the other frame's colour";
    press(*large, Qt::Key_Plus);
    press(*large, Qt::Key_Plus);
    EXPECT_EQ(large->zoom(), 5);
    large->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QtSettingsStore().getString("LargePreview", "zoom", ""), "5");
}

// Dropped files run their commands as if their pickers had chosen them; a viewer start (the file
// commands off) ignores them.
TEST(PreviewExtras, DroppedFilesAndFolders) {
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    writeSprite(root + "/drop.grp", 1, 6, 4, 0, 0);
    WindowUnderTest shown;
    auto& [state, archive, association, services, window] = shown;
    window.dropPath(root + "/drop.grp", false);
    EXPECT_EQ(state.fields.grpNameText, root + "/drop.grp");
    EXPECT_EQ(state.fields.frameCountText, "1");
    window.dropPath(root, true);
    EXPECT_EQ(state.locations.outputDir, root);
    window.dropPath(root + "/none.qbl", false);
    EXPECT_EQ(services.windows, std::vector<std::string>{"job"}) << "the compile window";
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_NE(services.messages[0].find("none.qbl"), std::string::npos) << "compiled that list";
    EXPECT_TRUE(services.pickerTitles.empty()) << "no picker asked";

    window.control(ids::kSetOutputDirectory)->setEnabled(false);
    window.dropPath("/elsewhere", true);
    EXPECT_EQ(state.locations.outputDir, root);
}

} // namespace
} // namespace pixmorph::ui
