#include "scripted_services.h"
#include "ui/archive_list.h"
#include "ui/qt_settings_store.h"
#include "ui/status_field_fit.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

// A job's end shows the clip's last frame, clamped; a clip asked to repeat stops by itself.
TEST(ClipPlayer, ClampsAndStopsAfterItsRepeatsAtTheLastFrameAsked) {
    ClipPlayer player(nullptr, false, false);
    ASSERT_TRUE(player.open(148));
    player.play(40, 90, -1);
    EXPECT_EQ(player.currentFrame(), 17);
    player.play(3, 5, 2);
    processEventsUntil([&player] { return !player.isPlaying(); }, 5000);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 5);
}

// Names in case-blind order, picked as the bytes listed; a close-up is reported only once the
// list has closed.
TEST(ArchiveList, SortsCaseBlindAndReportsCloseUpsAfterClosing) {
    ArchiveList list;
    for (const char* name : {"unit\\zerg\\a.grp", "Unit\\Protoss\\z.grp", "unit\\protoss\\b.grp",
                             "caf\xe9.grp", "caf\xc3\xa9s.grp"})
        list.addSorted(name);
    EXPECT_EQ(list.itemText(0), QString::fromUtf8("caf\xc3\xa9.grp")); // not UTF-8: Latin-1
    EXPECT_EQ(list.itemText(1), QString::fromUtf8("caf\xc3\xa9s.grp"));
    EXPECT_EQ(list.itemText(2), "unit\\protoss\\b.grp");
    list.setCurrentIndex(0);
    EXPECT_EQ(list.currentName(), "caf\xe9.grp");
    list.show();
    int closed = 0;
    QObject::connect(&list, &ArchiveList::closedUp, [&closed] { ++closed; });
    list.hidePopup(); // not open: no close-up
    list.showPopup();
    ASSERT_TRUE(list.view()->isVisible());
    list.hidePopup();
    EXPECT_EQ(closed, 0) << "queued until the list has settled";
    QApplication::processEvents();
    EXPECT_EQ(closed, 1);
}

// Stored under the company and program names; a hand-written file's unquoted commas read back.
TEST(QtSettingsStore, ReadsBackAndReadsHandWrittenFiles) {
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QtSettingsStore().setString("FileLocations", "sc_data__Location", "/data/a, b/sc_data.txt");
    EXPECT_EQ(QtSettingsStore().getString("FileLocations", "sc_data__Location", ""),
              "/data/a, b/sc_data.txt");
    QFile out(folder.filePath("Quillbright GRP File converter/Pixmorph.conf"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("[FileLocations]\nOutput_Directory=/tmp/a,b\n");
    out.close();
    EXPECT_EQ(QtSettingsStore().getString("FileLocations", "Output_Directory", ""), "/tmp/a,b");
}

// A box of a window not yet shown centres on the shown window it belongs to, else the screen.
TEST(DialogServices, MessagesCentreOnTheNearestShownWindow) {
    QWidget owner;
    owner.setGeometry(500, 300, 200, 100);
    QDialog child(&owner);
    EXPECT_EQ(messageArea(&child), QGuiApplication::primaryScreen()->availableGeometry());
    owner.show();
    EXPECT_EQ(messageArea(&child), owner.frameGeometry());
}

// A status field grows to its text up to the next control on its rows, never below its size.
TEST(StatusField, GrowsToItsTextUpToTheNextControl) {
    QWidget window;
    window.resize(300, 100);
    auto* field = new QLineEdit(&window);
    field->setGeometry(10, 10, 30, 20);
    auto* ok = new QPushButton(QStringLiteral("Ok"), &window);
    ok->setGeometry(120, 15, 30, 20);
    growToFitText(*field);
    field->setText(QStringLiteral("Finished"));
    EXPECT_GT(field->width(), field->fontMetrics().horizontalAdvance(field->text()));
    EXPECT_LT(field->geometry().right(), ok->x());
    field->setText(QString(200, QLatin1Char('x')));
    EXPECT_EQ(field->geometry().right(), ok->x() - 1);
    field->setText(QString());
    EXPECT_EQ(field->width(), 30);
}

} // namespace
} // namespace pixmorph::ui
