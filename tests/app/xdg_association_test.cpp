#include "app/xdg_association.h"
#include "support/job_files.h"

#include <fstream>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;

using testing::readText;

// Two runs, the second from another place: the type, entry, icon and default handler of the
// last are written, and the user's own associations and linked list are kept.
TEST(XdgAssociation, RegistersOverAnEarlierRunAndKeepsTheUsersAssociations) {
    testing::ScratchDir dir;
    const XdgFolders folders{fs::path(dir.path()) / "data", fs::path(dir.path()) / "config"};
    const fs::path real = fs::path(dir.path()) / "dotfiles/mimeapps.list";
    fs::create_directories(real.parent_path());
    std::ofstream(real) << "# mine\n[Default Applications]\ntext/plain=editor.desktop;\n"
                           "application/x-starcraft-grp=viewer.desktop;\n\n"
                           "[Added Associations]\nimage/png=viewer.desktop;\n";
    fs::create_directories(folders.configHome);
    fs::create_symlink(real, folders.configHome / "mimeapps.list");

    std::vector<std::vector<std::string>> commands;
    XdgAssociationSink sink(folders, {{"mimetypes", "application-x-starcraft-grp", 32, "PNG!"}},
                            [&](const std::vector<std::string>& c) { commands.push_back(c); });
    for (const char* program : {"/old/Pixmorph", "/opt/pix morph/Pixmorph"}) {
        FileAssociation association;
        association.programPath = program;
        sink.registerFileType(association);
    }

    const std::string package = readText(folders.dataHome / "mime/packages/pixmorph.xml");
    EXPECT_NE(package.find("<mime-type type=\"application/x-starcraft-grp\">"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.grp\"/>"), std::string::npos);
    const std::string entry = readText(folders.dataHome / "applications/pixmorph.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/pix morph/Pixmorph\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-starcraft-grp;\n"), std::string::npos);
    EXPECT_EQ(entry.find("/old/"), std::string::npos);
    EXPECT_EQ(readText(folders.dataHome /
                       "icons/hicolor/32x32/mimetypes/application-x-starcraft-grp.png"),
              "PNG!");
    EXPECT_TRUE(fs::is_symlink(folders.configHome / "mimeapps.list"));
    EXPECT_EQ(readText(real), "# mine\n[Default Applications]\ntext/plain=editor.desktop;\n"
                              "application/x-starcraft-grp=pixmorph.desktop;viewer.desktop;\n\n"
                              "[Added Associations]\nimage/png=viewer.desktop;\n"
                              "application/x-starcraft-grp=pixmorph.desktop;\n");
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0], (std::vector<std::string>{"update-mime-database",
                                                     (folders.dataHome / "mime").string()}));
}

} // namespace
} // namespace pixmorph
