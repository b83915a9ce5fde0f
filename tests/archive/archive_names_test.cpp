#include "archive/extraction.h"
#include "archive/name_list.h"
#include "archive/offered_names.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using Names = std::vector<std::string>;

Names parse(std::string_view text) {
    return parseNameList(Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(NameList, SplitsLinesAsTheArchiveListIsWritten) {
    const std::pair<std::string, Names> cases[] = {
        {"unit\\a.grp\nunit\\b.grp\n", {"unit\\a.grp", "unit\\b.grp"}},
        {"unit\\a.grp\r\nunit\\b.grp\r\n", {"unit\\a.grp", "unit\\b.grp"}},
        {"unit\\a\r.grp\n", {"unit\\a.grp"}},              // CR inside a line
        {"unit\\a.grp\nunit\\b.grp", {"unit\\a.grp"}},     // last line without LF
        {"\nunit\\a.grp\n\r\n", {"", "unit\\a.grp", ""}},  // empty lines are kept
        {" a.grp\t\n", {" a.grp\t"}},                      // blanks and tabs stay
        {std::string("a\0b.grp\nc.grp\n", 14), {"c.grp"}}, // a NUL spoils its line
        {"", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parse(text), expected) << text;
    // Lines over the limit are skipped whole; CR bytes do not count towards it.
    const std::string longest(kNameLineLimit, 'x'), tooLong(kNameLineLimit + 1, 'y');
    EXPECT_EQ(parse(longest + "\r\n" + tooLong + "\n" + tooLong + tooLong + "\nz\n"),
              (Names{longest, "z"}));
    // Millions of line ends would cost gigabytes of names: parsing stops one line past the most.
    EXPECT_EQ(parse(std::string(kMaxNameLines, '\n')).size(), kMaxNameLines);
    EXPECT_EQ(parse(std::string(3 * kMaxNameLines, '\n')).size(), kMaxNameLines + 1);
}

TEST(OfferedNames, NamesEndingInGrpInAnyCaseSortedAsTheDesktopListSortsThem) {
    std::vector<ArchiveFileRecord> found;
    for (const char* name :
         {"unit\\zerg\\zergling.grp", "sound\\zerg\\zergling.wav", "Unit\\Terran\\Marine.grp",
          "unit\\protoss\\zealot.GRP", "unit_zerg.grp", "UNIT\\ZERG\\ZERGLING.GRP",
          "unit\\zerg\\zerglinggrp", "unit\\x.grp ", "rp", ""})
        found.push_back({name, nullptr});
    // Letters compare without regard to case, so '\' and '_' come before them; names equal but
    // for case keep their byte order.
    EXPECT_EQ(offeredNames(found), (Names{"unit\\protoss\\zealot.GRP", "Unit\\Terran\\Marine.grp",
                                          "UNIT\\ZERG\\ZERGLING.GRP", "unit\\zerg\\zergling.grp",
                                          "unit\\zerg\\zerglinggrp", "unit_zerg.grp"}));
}

TEST(ExtractionNaming, RefusesEveryNameThatCouldLeaveTheOutputDirectory) {
    for (const char* name :
         {"", "..\\..\\escape.grp", "unit\\..\\..\\x.grp", "unit\\.\\x.grp", "..", "\\root.grp",
          "\\\\server\\share\\x.grp", "unit\\\\x.grp", "unit\\", "C:\\x.grp", "x.grp:stream",
          "/etc/x.grp", "unit/../../x.grp", "unit\\x\n.grp", "unit\\x\x7f.grp"})
        EXPECT_TRUE(refuseArchiveName(name).has_value()) << name;
    for (const char* name :
         {"unit\\zerg\\zergling.grp", "..grp", "unit\\my sprite\\a b.grp", "unit\\x..y\\z.grp"})
        EXPECT_EQ(refuseArchiveName(name), std::nullopt) << name;
    // The name is shown on one line whatever it holds.
    EXPECT_EQ(*refuseArchiveName("a\nb.grp"),
              "a?b.grp cannot be saved:\nits name holds control characters.");
}

} // namespace
} // namespace pixmorph
