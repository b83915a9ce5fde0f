#include "archive/offered_names.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(OfferedNames, OnlyNamesEndingInGrpInAnyCase) {
    struct Case {
        const char* name;
        bool offered;
    };
    const Case cases[] = {
        {"unit\\zerg\\zergling.grp", true},
        {"unit\\zerg\\ZERGLING.GRP", true},
        {"unit\\zerg\\zerglinggrp", true},
        {"unit\\x.GrP", true},
        {"grp", true},
        {"sound\\zerg\\zergling.wav", false},
        {"unit\\x.grp ", false},
        {"rp", false},
        {"", false},
        {"unit\\x.gpr", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isOfferedName(c.name), c.offered) << c.name;
}

TEST(OfferedNames, ArchiveNamesEndInMpqInAnyCase) {
    EXPECT_TRUE(endsWithIgnoringCase("C:\\StarCraft\\StarDat.MpQ", "mpq"));
    EXPECT_TRUE(endsWithIgnoringCase("mpq", "mpq"));
    EXPECT_FALSE(endsWithIgnoringCase("stardat.mpx", "mpq"));
    EXPECT_FALSE(endsWithIgnoringCase("pq", "mpq"));
}

TEST(OfferedNames, SortedWithoutRegardToCaseAndFilteredFromTheFoundFiles) {
    const std::vector<ArchiveFileRecord> found = {
        {"unit\\zerg\\zergling.grp", nullptr},
        {"sound\\zerg\\zergling.wav", nullptr},
        {"Unit\\Terran\\Marine.grp", nullptr},
        {"unit\\protoss\\zealot.GRP", nullptr},
        {"unit_zerg.grp", nullptr},
        {"UNIT\\ZERG\\ZERGLING.GRP", nullptr},
        {"unit\\zerg\\zerglinggrp", nullptr},
    };
    // '\' and '_' sort before letters, as the desktop list sorts them; names equal but for
    // case keep the byte order.
    const std::vector<std::string> expected = {
        "unit\\protoss\\zealot.GRP", "Unit\\Terran\\Marine.grp", "UNIT\\ZERG\\ZERGLING.GRP",
        "unit\\zerg\\zergling.grp",  "unit\\zerg\\zerglinggrp",  "unit_zerg.grp",
    };
    EXPECT_EQ(offeredNames(found), expected);
}

} // namespace
} // namespace pixmorph
