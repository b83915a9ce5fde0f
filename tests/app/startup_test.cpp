#include "app/startup.h"
#include "app/xdg_association.h"
#include "fakes.h"
#include "support/job_files.h"

#include <fstream>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using Key = std::pair<std::string, std::string>;

// A first run with a file is refused before anything is written; values longer than their
// fields are refused, not cut; at exit the version is written first.
TEST(StartUp, RefusalsAndLocationsWrittenBackInOrderWithTheVersion) {
    testing::MemorySettingsStore store;
    ConverterState state;
    EXPECT_FALSE(startUp(store, state, "/home/me/zealot.grp").runWindow);
    EXPECT_TRUE(store.writes.empty());

    const Key palette{"FileLocations", "Palette_Location"},
        output{"FileLocations", "Output_Directory"};
    store.values = {{palette, std::string(512, 'p')},
                    {{"FileLocations", "sc_data__Location"}, "/opt/sc_data.txt"}};
    const StartupResult result = startUp(store, state, std::string(127, 'f'));
    EXPECT_TRUE(result.runWindow);
    EXPECT_EQ(
        result.message,
        "The stored location Palette_Location is longer than 511 characters\nand was not used.");
    EXPECT_EQ(state.locations.paletteLocation, "");
    EXPECT_EQ(state.locations.fileListPath, "/opt/sc_data.txt");

    state.locations.outputDir = "/new out";
    writeSettingsAtExit(store, state);
    EXPECT_EQ(store.writes.front(), (Key{"Version", "VersionNumber"}));
    EXPECT_EQ(store.values[output], "/new out");
}

namespace fs = std::filesystem;

// Two runs, the second from another place: the last one's entry is written, and the user's own
// associations and linked list are kept.
TEST(XdgAssociation, RegistersOverAnEarlierRunAndKeepsTheUsersAssociations) {
    testing::ScratchDir dir;
    const XdgFolders folders{fs::path(dir.path()) / "data", fs::path(dir.path()) / "config"};
    const fs::path real = dir.file("mimeapps.list");
    std::ofstream(real) << "# mine\n[Default Applications]\n"
                           "application/x-starcraft-grp=viewer.desktop;\n";
    fs::create_directories(folders.configHome);
    fs::create_symlink(real, folders.configHome / "mimeapps.list");
    XdgAssociationSink sink(folders, {{"mimetypes", "application-x-starcraft-grp", 32, "PNG!"}},
                            [](const std::vector<std::string>&) {});
    for (const char* program : {"/old/Pixmorph", "/opt/pix morph/Pixmorph"})
        sink.registerFileType(FileAssociation{.programPath = program});

    const std::string entry = testing::readText(folders.dataHome / "applications/pixmorph.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/pix morph/Pixmorph\" %f\n"), std::string::npos);
    EXPECT_EQ(entry.find("/old/"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(folders.configHome / "mimeapps.list"));
    EXPECT_EQ(testing::readText(real),
              "# mine\n[Default Applications]\n"
              "application/x-starcraft-grp=pixmorph.desktop;viewer.desktop;\n\n"
              "[Added Associations]\napplication/x-starcraft-grp=pixmorph.desktop;\n");
}

} // namespace
} // namespace pixmorph
