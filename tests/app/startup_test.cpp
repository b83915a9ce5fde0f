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

// A first run (no file-list location, or one too long for its field) with a file, and a file
// name too long for its field, are refused before anything is written.
TEST(StartUp, RefusalsWriteNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "/home/me/zealot.grp"},
        {std::string(512, 'x'), "/home/me/zealot.grp"},
        {"/opt/sc_data.txt", std::string(128, 'f')},
    };
    for (const auto& [fileList, file] : cases) {
        MemorySettingsStore store;
        store.values[kFileList] = fileList;
        ConverterState state;
        const StartupResult result = startUp(store, state, file);
        EXPECT_FALSE(result.runWindow);
        EXPECT_NE(result.message.find(fileList == "/opt/sc_data.txt"
                                          ? "longer than 127 characters"
                                          : "Please run this once without\ncommand line "
                                            "parameters for initial setup"),
                  std::string::npos);
        EXPECT_TRUE(store.writes.empty());
    }
    MemorySettingsStore store;
    ConverterState state;
    EXPECT_TRUE(startUp(store, state, "").runWindow);
    EXPECT_EQ(commandLineRemainder({"", "/me/My", "Sprites/a.grp"}), "/me/My Sprites/a.grp");
}

// Values longer than their fields are refused, not cut; at exit the version is written first.
TEST(StartUp, LocationsAreReadAndWrittenBackInOrderWithTheVersion) {
    MemorySettingsStore store;
    store.values = {{kArchive, std::string(511, 'a')}, // fits exactly
                    {kPalette, std::string(512, 'p')},
                    {kFileList, "/opt/sc_data.txt"},
                    {kOutput, "/out"},
                    {kVersion, "1.70"}};
    ConverterState state;
    const StartupResult result = startUp(store, state, std::string(127, 'f'));
    EXPECT_TRUE(result.runWindow);
    EXPECT_EQ(
        result.message,
        "The stored location Palette_Location is longer than 511 characters\nand was not used.");
    EXPECT_EQ(state.archivePath, std::string(511, 'a'));
    EXPECT_EQ(state.paletteLocation, "");
    EXPECT_EQ(state.fileListPath, "/opt/sc_data.txt");
    EXPECT_EQ(state.outputDirText, "/out");
    EXPECT_EQ(state.startupFile, std::string(127, 'f'));

    state.outputDir = "/new out";
    writeSettingsAtExit(store, state);
    EXPECT_EQ(store.writes, (std::vector<Key>{kVersion, kArchive, kPalette, kFileList, kOutput}));
    EXPECT_EQ(store.values[kVersion], "1.85");
    EXPECT_EQ(store.values[kOutput], "/new out");
}

} // namespace
} // namespace pixmorph
