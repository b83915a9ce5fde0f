#include "archive/extraction.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(ExtractionNaming, RefusesNamesThatCouldLeaveTheOutputDirectory) {
    struct Case {
        std::string name;
        std::string_view message; // %1 is the name
    };
    const Case cases[] = {
        {"", msg::kArchiveNameEmpty},
        {"..\\..\\escape.grp", msg::kArchiveNameDotLevel},
        {"unit\\..\\..\\escape.grp", msg::kArchiveNameDotLevel},
        {"unit\\.\\x.grp", msg::kArchiveNameDotLevel},
        {"..", msg::kArchiveNameDotLevel},
        {"\\root.grp", msg::kArchiveNameLeadingSeparator},
        {"\\\\server\\share\\x.grp", msg::kArchiveNameLeadingSeparator},
        {"unit\\\\x.grp", msg::kArchiveNameEmptyLevel},
        {"unit\\", msg::kArchiveNameEmptyLevel},
        {"C:\\x.grp", msg::kArchiveNameDrive},
        {"unit\\x.grp:stream", msg::kArchiveNameDrive},
        {"/etc/x.grp", msg::kArchiveNameSlash},
        {"unit/../../x.grp", msg::kArchiveNameSlash},
        {"unit\\x\n.grp", msg::kArchiveNameControl},
        {"unit\\x\x7f.grp", msg::kArchiveNameControl},
    };
    for (const auto& c : cases) {
        const auto refusal = refuseArchiveName(c.name);
        ASSERT_TRUE(refusal.has_value()) << c.name;
        std::string expected(c.message);
        if (const auto at = expected.find("%1"); at != std::string::npos) {
            std::string shown = c.name;
            for (char& ch : shown)
                ch = (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ? '?' : ch;
            expected.replace(at, 2, shown);
        }
        EXPECT_EQ(*refusal, expected) << c.name;
    }
}

TEST(ExtractionNaming, AcceptsOrdinaryArchiveNames) {
    for (const char* name : {"unit\\zerg\\zergling.grp", "zergling.grp", "..grp",
                             "unit\\my sprite\\a b.grp", "unit\\x..y\\z.grp"})
        EXPECT_EQ(refuseArchiveName(name), std::nullopt) << name;
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
        {"/out/", "a\\b.grp", NameFormat::subdirectories, {"/out/a"}, "/out/a/b.grp"},
        {"/", "a\\b.grp", NameFormat::flat, {}, "/a_b.grp"},
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
