#include "app/xdg_association.h"
#include "support/job_files.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;

using testing::readText;

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class XdgFolder : public ::testing::Test {
protected:
    static FileAssociation association(const std::string& program = "/opt/pix morph/Pixmorph") {
        FileAssociation a;
        a.programPath = program;
        return a;
    }

    testing::ScratchDir dir_;
    fs::path root_ = dir_.path();
    XdgFolders folders_{root_ / "data", root_ / "config"};
};

// A second run, from another place, overwrites what the first wrote.
TEST_F(XdgFolder, WritesTypeEntryIconsAndDefaultHandler) {
    std::vector<std::vector<std::string>> commands;
    XdgAssociationSink sink(folders_, {{"mimetypes", "application-x-starcraft-grp", 32, "PNG!"}},
                            [&](const std::vector<std::string>& c) { commands.push_back(c); });
    sink.registerFileType(association("/old/Pixmorph"));
    sink.registerFileType(association());

    const std::string package = readText(folders_.dataHome / "mime/packages/pixmorph.xml");
    EXPECT_NE(package.find("<mime-type type=\"application/x-starcraft-grp\">"), std::string::npos);
    EXPECT_NE(package.find("<comment>StarCraft Sprite</comment>"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.grp\"/>"), std::string::npos);

    const std::string entry = readText(folders_.dataHome / "applications/pixmorph.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/pix morph/Pixmorph\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-starcraft-grp;\n"), std::string::npos);
    EXPECT_EQ(entry.find("/old/"), std::string::npos);

    EXPECT_EQ(readText(folders_.dataHome /
                       "icons/hicolor/32x32/mimetypes/application-x-starcraft-grp.png"),
              "PNG!");
    EXPECT_EQ(readText(folders_.configHome / "mimeapps.list"),
              "[Default Applications]\napplication/x-starcraft-grp=pixmorph.desktop;\n\n"
              "[Added Associations]\napplication/x-starcraft-grp=pixmorph.desktop;\n");

    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0], (std::vector<std::string>{"update-mime-database",
                                                     (folders_.dataHome / "mime").string()}));
}

TEST_F(XdgFolder, KeepsTheUsersOtherAssociationsAndLinks) {
    const fs::path real = root_ / "dotfiles/mimeapps.list";
    writeText(real, "# mine\n[Default Applications]\ntext/plain=editor.desktop;\n"
                    "application/x-starcraft-grp=viewer.desktop;\n\n"
                    "[Added Associations]\nimage/png=viewer.desktop;\n");
    fs::create_directories(folders_.configHome);
    fs::create_symlink(real, folders_.configHome / "mimeapps.list");

    XdgAssociationSink(folders_, {}).registerFileType(association());

    EXPECT_TRUE(fs::is_symlink(folders_.configHome / "mimeapps.list"));
    EXPECT_EQ(readText(real), "# mine\n[Default Applications]\ntext/plain=editor.desktop;\n"
                              "application/x-starcraft-grp=pixmorph.desktop;viewer.desktop;\n\n"
                              "[Added Associations]\nimage/png=viewer.desktop;\n"
                              "application/x-starcraft-grp=pixmorph.desktop;\n");
}

TEST_F(XdgFolder, FailuresAreSilentAndTheRestIsStillWritten) {
    writeText(folders_.dataHome, "a file where the data folder should be");
    writeText(folders_.configHome / "mimeapps.list", "[Default Applications]\n");
    fs::permissions(folders_.configHome / "mimeapps.list", fs::perms::none);
    const bool canStillRead = std::ifstream(folders_.configHome / "mimeapps.list").good();

    XdgAssociationSink sink(folders_, {{"apps", "pixmorph", 48, "x"}});
    EXPECT_NO_THROW(sink.registerFileType(association()));
    if (!canStillRead) { // running as root reads anything
        fs::permissions(folders_.configHome / "mimeapps.list", fs::perms::owner_all);
        EXPECT_EQ(readText(folders_.configHome / "mimeapps.list"), "[Default Applications]\n");
    }
    EXPECT_NO_THROW(XdgAssociationSink(std::nullopt, {}).registerFileType(association()));
}

TEST(XdgExec, QuotesAndEscapesAsDesktopEntriesRequire) {
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/bin/Pixmorph", "/usr/bin/Pixmorph"},
        {"/home/a b/Pixmorph", "\"/home/a b/Pixmorph\""},
        {"/x/say\"hi\"/P", "\"/x/say\\\\\"hi\\\\\"/P\""},
        {"/x/$HOME/P", "\"/x/\\\\$HOME/P\""},
        {"/x/`id`/P", "\"/x/\\\\`id\\\\`/P\""},
        {"/x/back\\slash/P", "\"/x/back\\\\\\\\slash/P\""},
        {"/x/100%/P", "/x/100%%/P"},
        {"/x/line\nbreak/P", "\"/x/line\\nbreak/P\""},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(execArgument(path), expected) << path;
}

TEST(XdgMimeApps, AddsSectionsToAnUnterminatedList) {
    EXPECT_EQ(withDefaultHandler("[Default Applications]\nx/y=q.desktop", "a/b", "p.desktop"),
              "[Default Applications]\nx/y=q.desktop\na/b=p.desktop;\n\n"
              "[Added Associations]\na/b=p.desktop;\n");
}

TEST(XdgEnvironment, FallsBackToHomeForUnsetOrRelativeFolders) {
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_DATA_HOME", "/d", 1);
    ::setenv("XDG_CONFIG_HOME", "relative/c", 1);
    auto folders = xdgFoldersFromEnvironment();
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->dataHome, fs::path("/d"));
    EXPECT_EQ(folders->configHome, fs::path("/home/u/.config"));

    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    EXPECT_FALSE(xdgFoldersFromEnvironment());

    for (const auto& [name, value] : saved)
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
}

} // namespace
} // namespace pixmorph
