#include "app/control_ids.h"
#include "ui/archive_list.h"
#include "ui/clip_player.h"
#include "ui/resources.h"
#include "ui/small_windows.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

TEST(Resources, ClipsHaveEighteenFramesAtTheirRates) {
    struct {
        int number;
        QSize frame;
        int fps;
    } const cases[] = {{141, {94, 100}, 10}, {148, {100, 75}, 9}};
    for (const auto& c : cases) {
        const Clip clip = clipResource(c.number);
        ASSERT_EQ(clip.frames.size(), 18u) << c.number;
        EXPECT_EQ(clip.frames.front().size(), c.frame);
        EXPECT_EQ(clip.framesPerSecond, c.fps);
    }
    EXPECT_TRUE(clipResource(142).frames.empty());
}

TEST(Resources, IconGroupsHoldTheirSizes) {
    const QIcon program = iconResource(kProgramIcon);
    EXPECT_EQ(program.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    EXPECT_EQ(iconResource(kDocumentIcon).availableSizes(), (QList<QSize>{{32, 32}}));
    EXPECT_FALSE(iconPngBytes(kDocumentIcon, 32).isEmpty());
    EXPECT_TRUE(iconPngBytes(kDocumentIcon, 48).isEmpty());
    EXPECT_TRUE(pictureResource(134).isNull());
}

TEST(ClipPlayer, PlaysStopsAndShowsAGivenFrame) {
    ClipPlayer player(nullptr, true, true);
    EXPECT_FALSE(player.open(999));
    ASSERT_TRUE(player.open(141));
    EXPECT_FALSE(player.isPlaying());

    player.play(0, -1, -1);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 0);

    player.stop();
    EXPECT_FALSE(player.isPlaying());

    // The end of a job: frame 17 to 17, no repeat.
    player.play(17, 17, 0);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 17);

    player.play(40, 90, -1); // clamped to the clip
    EXPECT_EQ(player.currentFrame(), 17);
    EXPECT_FALSE(player.isPlaying());
}

TEST(ClipPlayer, StopsAfterItsRepeatsAtTheLastFrameAsked) {
    ClipPlayer player(nullptr, false, false);
    ASSERT_TRUE(player.open(148));
    player.play(3, 5, 2);
    QElapsedTimer clock;
    clock.start();
    while (player.isPlaying() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 5);
}

TEST(ArchiveList, KeepsNamesInCaseBlindOrder) {
    ArchiveList list;
    for (const char* name : {"unit\\zerg\\zergling.grp", "Unit\\Protoss\\zealot.grp",
                             "unit\\terran\\marine.grp", "unit\\protoss\\archon.grp"})
        list.addSorted(QString::fromLatin1(name));
    QStringList order;
    for (int i = 0; i < list.count(); ++i)
        order << list.itemText(i);
    EXPECT_EQ(order, (QStringList{"unit\\protoss\\archon.grp", "Unit\\Protoss\\zealot.grp",
                                  "unit\\terran\\marine.grp", "unit\\zerg\\zergling.grp"}));
}

TEST(ArchiveList, ReportsEveryCloseUpOnlyAfterTheListClosed) {
    ArchiveList list;
    list.addSorted(QStringLiteral("a.grp"));
    list.addSorted(QStringLiteral("b.grp"));
    list.show();
    int closed = 0;
    QObject::connect(&list, &ArchiveList::closedUp, [&closed] { ++closed; });

    list.hidePopup(); // not open: no close-up
    QApplication::processEvents();
    EXPECT_EQ(closed, 0);

    for (int round = 1; round <= 2; ++round) { // unchanged choice, then again
        list.showPopup();
        ASSERT_TRUE(list.view()->isVisible());
        list.hidePopup();
        EXPECT_EQ(closed, round - 1) << "queued until the list has settled";
        QApplication::processEvents();
        EXPECT_EQ(closed, round);
    }
}

TEST(ExportChoiceWindow, ButtonsSetTheChoiceAndEscapeLeavesNone) {
    {
        ExportChoiceWindow window(nullptr);
        window.control<QPushButton>(ids::kChoiceAll)->click();
        EXPECT_EQ(window.choice(), ExportMode::all);
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    {
        ExportChoiceWindow window(nullptr);
        window.control<QPushButton>(ids::kChoiceUnique)->click();
        EXPECT_EQ(window.choice(), ExportMode::unique);
    }
    {
        ExportChoiceWindow window(nullptr);
        window.show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window, &escape);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.choice(), std::nullopt);
    }
    {
        ExportChoiceWindow window(nullptr);
        auto* large = window.control<QPushButton>(ids::kChoiceLarge);
        large->click(); // disabled: nothing happens
        EXPECT_EQ(window.choice(), std::nullopt);
    }
}

} // namespace
} // namespace pixmorph::ui
