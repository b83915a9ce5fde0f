#include "app/startup.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using Key = std::pair<std::string, std::string>;
const Key kArchive{"FileLocations", "StarDat_MPQ_Location"};
const Key kPalette{"FileLocations", "Palette_Location"};
const Key kFileList{"FileLocations", "sc_data__Location"};
const Key kOutput{"FileLocations", "Output_Directory"};
const Key kVersion{"Version", "VersionNumber"};

TEST(StartUp, AFirstRunWithAFileIsRefusedAndWritesNothing) {
    // An empty file-list location means first run; one too long for its field is not used.
    for (const std::string& fileList : {std::string(), std::string(512, 'x')}) {
        MemorySettingsStore store;
        store.values[kFileList] = fileList;
        ConverterState state;
        const StartupResult result = startUp(store, state, "/home/me/zealot.grp");
        EXPECT_FALSE(result.runWindow);
        EXPECT_NE(result.message.find(
                      "Please run this once without\ncommand line parameters for initial setup"),
                  std::string::npos);
        EXPECT_TRUE(store.writes.empty());
    }
    MemorySettingsStore store;
    ConverterState state;
    EXPECT_TRUE(startUp(store, state, "").runWindow);
}

TEST(StartUp, LocationsAreReadAndWrittenBackInOrderWithTheVersion) {
    MemorySettingsStore store;
    store.values = {{kArchive, "/sc/StarDat.mpq"},
                    {kPalette, "/sc/units.pal"},
                    {kFileList, "/opt/sc_data.txt"},
                    {kOutput, "/out"},
                    {kVersion, "1.70"}};
    ConverterState state;
    const StartupResult result = startUp(store, state, "/home/me/My Sprites/zealot.grp");
    EXPECT_TRUE(result.runWindow);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(state.archivePath, "/sc/StarDat.mpq");
    EXPECT_EQ(state.paletteLocation, "/sc/units.pal");
    EXPECT_EQ(state.fileListPath, "/opt/sc_data.txt");
    EXPECT_EQ(state.outputDirText, "/out");
    EXPECT_EQ(state.startupFile, "/home/me/My Sprites/zealot.grp");

    state.outputDir = "/new out";
    writeSettingsAtExit(store, state);
    EXPECT_EQ(store.writes, (std::vector<Key>{kVersion, kArchive, kPalette, kFileList, kOutput}));
    EXPECT_EQ(store.values[kVersion], "1.85");
    EXPECT_EQ(store.values[kOutput], "/new out");
}

TEST(StartUp, ValuesLongerThanTheirFieldsAreRefusedNotCut) {
    MemorySettingsStore store;
    store.values = {{kArchive, std::string(511, 'a')}, // fits exactly
                    {kPalette, std::string(512, 'p')},
                    {kFileList, "/opt/sc_data.txt"}};
    ConverterState state;
    StartupResult result = startUp(store, state, std::string(127, 'f'));
    EXPECT_TRUE(result.runWindow);
    EXPECT_EQ(state.archivePath.size(), 511u);
    EXPECT_EQ(state.paletteLocation, "");
    EXPECT_EQ(
        result.message,
        "The stored location Palette_Location is longer than 511 characters\nand was not used.");
    EXPECT_EQ(state.startupFile.size(), 127u);

    result = startUp(store, state, std::string(128, 'f'));
    EXPECT_FALSE(result.runWindow);
    EXPECT_NE(result.message.find("longer than 127 characters"), std::string::npos);
    EXPECT_TRUE(store.writes.empty());
}

TEST(StartUp, TheCommandLineRemainderJoinsTheArgumentsWithSingleBlanks) {
    EXPECT_EQ(commandLineRemainder({}), "");
    EXPECT_EQ(commandLineRemainder({"/me/My", "Sprites/a.grp"}), "/me/My Sprites/a.grp");
    EXPECT_EQ(commandLineRemainder({"", "temp.grp"}), "temp.grp");
}

} // namespace
} // namespace pixmorph
