#include "app/control_ids.h"
#include "ui/archive_list.h"
#include "ui/clip_player.h"
#include "ui/small_windows.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

// A job's end shows the clip's last frame, clamped; a clip asked to repeat stops by itself.
TEST(ClipPlayer, ClampsAndStopsAfterItsRepeatsAtTheLastFrameAsked) {
    ClipPlayer player(nullptr, false, false);
    ASSERT_TRUE(player.open(148));
    player.play(40, 90, -1);
    EXPECT_EQ(player.currentFrame(), 17);
    EXPECT_FALSE(player.isPlaying());
    player.play(3, 5, 2);
    QElapsedTimer clock;
    clock.start();
    while (player.isPlaying() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 5);
}

// Names in case-blind order; a close-up is reported only once the list has closed.
TEST(ArchiveList, SortsCaseBlindAndReportsCloseUpsAfterClosing) {
    ArchiveList list;
    for (const char* name :
         {"unit\\zerg\\zergling.grp", "Unit\\Protoss\\zealot.grp", "unit\\protoss\\archon.grp"})
        list.addSorted(QString::fromLatin1(name));
    QStringList order;
    for (int i = 0; i < list.count(); ++i)
        order << list.itemText(i);
    EXPECT_EQ(order, (QStringList{"unit\\protoss\\archon.grp", "Unit\\Protoss\\zealot.grp",
                                  "unit\\zerg\\zergling.grp"}));
    list.show();
    int closed = 0;
    QObject::connect(&list, &ArchiveList::closedUp, [&closed] { ++closed; });
    list.hidePopup(); // not open: no close-up
    for (int round = 1; round <= 2; ++round) {
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
