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

// The file association installs the document icon's 32 x 32 picture, the only size it has.
TEST(Resources, TheDocumentIconHasItsPicture) {
    EXPECT_FALSE(iconPngBytes(kDocumentIcon, 32).isEmpty());
    EXPECT_TRUE(iconPngBytes(kDocumentIcon, 48).isEmpty());
}

TEST(ClipPlayer, PlaysStopsAndStopsAfterItsRepeatsAtTheLastFrameAsked) {
    ClipPlayer player(nullptr, false, false);
    EXPECT_FALSE(player.open(999));
    ASSERT_TRUE(player.open(148));
    player.play(40, 90, -1); // clamped to the clip: the end of a job shows frame 17
    EXPECT_EQ(player.currentFrame(), 17);
    EXPECT_FALSE(player.isPlaying());
    player.play(0, -1, -1);
    EXPECT_TRUE(player.isPlaying());
    player.stop();
    EXPECT_FALSE(player.isPlaying());

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

// The large-sprite button is disabled: a click on it leaves no choice, as Escape does.
TEST(ExportChoiceWindow, ButtonsSetTheChoiceAndEscapeLeavesNone) {
    const std::pair<int, std::optional<ExportMode>> buttons[] = {
        {ids::kChoiceAll, ExportMode::all},
        {ids::kChoiceUnique, ExportMode::unique},
        {ids::kChoiceLarge, std::nullopt}};
    for (const auto& [id, choice] : buttons) {
        ExportChoiceWindow window(nullptr);
        window.control<QPushButton>(id)->click();
        EXPECT_EQ(window.choice(), choice) << id;
    }
    ExportChoiceWindow window(nullptr);
    window.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.choice(), std::nullopt);
}

} // namespace
} // namespace pixmorph::ui
