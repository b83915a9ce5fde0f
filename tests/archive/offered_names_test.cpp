#include "archive/offered_names.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(OfferedNames, NamesEndingInGrpInAnyCaseSortedAsTheDesktopListSortsThem) {
    std::vector<ArchiveFileRecord> found;
    for (const char* name :
         {"unit\\zerg\\zergling.grp", "sound\\zerg\\zergling.wav", "Unit\\Terran\\Marine.grp",
          "unit\\protoss\\zealot.GRP", "unit_zerg.grp", "UNIT\\ZERG\\ZERGLING.GRP",
          "unit\\zerg\\zerglinggrp", "unit\\x.grp ", "rp", ""})
        found.push_back({name, nullptr});
    // Letters compare without regard to case, so '\' and '_' come before them; names equal but
    // for case keep their byte order.
    const std::vector<std::string> expected = {
        "unit\\protoss\\zealot.GRP", "Unit\\Terran\\Marine.grp", "UNIT\\ZERG\\ZERGLING.GRP",
        "unit\\zerg\\zergling.grp",  "unit\\zerg\\zerglinggrp",  "unit_zerg.grp",
    };
    EXPECT_EQ(offeredNames(found), expected);
}

} // namespace
} // namespace pixmorph
