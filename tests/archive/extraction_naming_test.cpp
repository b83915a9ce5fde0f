#include "archive/extraction.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(ExtractionNaming, RefusesEveryNameThatCouldLeaveTheOutputDirectory) {
    for (const char* name :
         {"", "..\\..\\escape.grp", "unit\\..\\..\\x.grp", "unit\\.\\x.grp", "..", "\\root.grp",
          "\\\\server\\share\\x.grp", "unit\\\\x.grp", "unit\\", "C:\\x.grp", "x.grp:stream",
          "/etc/x.grp", "unit/../../x.grp", "unit\\x\n.grp", "unit\\x\x7f.grp"})
        EXPECT_TRUE(refuseArchiveName(name).has_value()) << name;
    for (const char* name : {"unit\\zerg\\zergling.grp", "zergling.grp", "..grp",
                             "unit\\my sprite\\a b.grp", "unit\\x..y\\z.grp"})
        EXPECT_EQ(refuseArchiveName(name), std::nullopt) << name;
    // The name is shown on one line whatever it holds.
    EXPECT_EQ(*refuseArchiveName("a\nb.grp"),
              "a?b.grp cannot be saved:\nits name holds control characters.");
}

TEST(ExtractionNaming, BothFormatsJoinWithSlashes) {
    struct Case {
        std::string outputDir;
        std::string name;
        NameFormat format;
        std::vector<std::string> directories;
        std::string path;
    };
    const Case cases[] = {
        {"/out", "unit\\zerg\\zergling.grp", NameFormat::flat, {}, "/out/unit_zerg_zergling.grp"},
        {"/out",
         "unit\\zerg\\zergling.grp",
         NameFormat::subdirectories,
         {"/out/unit", "/out/unit/zerg"},
         "/out/unit/zerg/zergling.grp"},
        {"/out", "zergling.grp", NameFormat::subdirectories, {}, "/out/zergling.grp"},
        {"/", "a\\b.grp", NameFormat::subdirectories, {"/a"}, "/a/b.grp"},
        // No output directory: the current directory, never the file system's root.
        {"", "a\\b.grp", NameFormat::flat, {}, "a_b.grp"},
        {"", "a\\b.grp", NameFormat::subdirectories, {"a"}, "a/b.grp"},
    };
    for (const auto& c : cases) {
        const auto target = extractionTarget(c.outputDir, c.name, c.format);
        EXPECT_EQ(target.directories, c.directories) << c.outputDir << " " << c.name;
        EXPECT_EQ(target.path, c.path) << c.outputDir << " " << c.name;
    }
}

} // namespace
} // namespace pixmorph
