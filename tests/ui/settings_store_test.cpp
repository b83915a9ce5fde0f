#include "app/converter_state.h"
#include "app/startup.h"
#include "core/messages.h"
#include "ui/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

// Points the user-scope settings at a fresh folder, as XDG_CONFIG_HOME would.
class SettingsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    }
    QString file() const {
        return folder_.filePath(QStringLiteral("Quillbright GRP File converter/Pixmorph.conf"));
    }
    QTemporaryDir folder_;
};

TEST_F(SettingsFolder, StoresUnderTheCompanyAndProgramNames) {
    {
        QtSettingsStore store;
        EXPECT_EQ(store.fileName(), file());
        EXPECT_EQ(store.getString("FileLocations", "Palette_Location", "none"), "none");
        store.setString("FileLocations", "sc_data__Location", "/data/a, b/sc_data.txt");
    }
    QSettings raw(file(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("FileLocations/sc_data__Location").toString(),
              QStringLiteral("/data/a, b/sc_data.txt"));

    QtSettingsStore again;
    EXPECT_EQ(again.getString("FileLocations", "sc_data__Location", ""), "/data/a, b/sc_data.txt");
}

TEST_F(SettingsFolder, ReadsAHandWrittenFileWithUnquotedCommas) {
    QDir().mkpath(QFileInfo(file()).path());
    QFile out(file());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("[FileLocations]\nOutput_Directory=/tmp/a,b\nPalette_Location=\"/p/x.pal\"\n");
    out.close();
    QtSettingsStore store;
    EXPECT_EQ(store.getString("FileLocations", "Output_Directory", ""), "/tmp/a,b");
    EXPECT_EQ(store.getString("FileLocations", "Palette_Location", ""), "/p/x.pal");
}

TEST_F(SettingsFolder, AFirstRunWithAFileIsRefusedAndWritesNothing) {
    {
        QtSettingsStore store;
        ConverterState state;
        const StartupResult start = startUp(store, state, "/home/u/zealot.grp");
        EXPECT_FALSE(start.runWindow);
        EXPECT_EQ(start.message, std::string(msg::kFirstRunRefusal));
    }
    EXPECT_FALSE(QFile::exists(file()));
}

} // namespace
} // namespace pixmorph::ui
