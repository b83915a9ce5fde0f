#include "archive/name_list.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pixmorph {
namespace {

using Names = std::vector<std::string>;

std::vector<std::string> parse(std::string_view text) {
    return parseNameList(Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(NameList, SplitsLinesAsTheArchiveListIsWritten) {
    struct Case {
        const char* what;
        std::string text;
        Names expected;
    };
    const Case cases[] = {
        {"LF ends", "unit\\a.grp\nunit\\b.grp\n", {"unit\\a.grp", "unit\\b.grp"}},
        {"CR LF ends", "unit\\a.grp\r\nunit\\b.grp\r\n", {"unit\\a.grp", "unit\\b.grp"}},
        {"CR inside a line", "unit\\a\r.grp\n", {"unit\\a.grp"}},
        {"last line without LF", "unit\\a.grp\nunit\\b.grp", {"unit\\a.grp"}},
        {"empty lines are kept", "\nunit\\a.grp\n\r\n", {"", "unit\\a.grp", ""}},
        {"blanks and tabs stay", " a.grp\t\n", {" a.grp\t"}},
        {"nothing", "", {}},
        {"no line end at all", "unit\\a.grp", {}},
        {"a NUL byte spoils its line", std::string("a\0b.grp\nc.grp\n", 14), {"c.grp"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << c.what;
}

TEST(NameList, LinesOverTheLimitAreSkippedWhole) {
    const std::string longest(kNameLineLimit, 'x');
    const std::string tooLong(kNameLineLimit + 1, 'y');
    // CR bytes do not count towards the limit.
    const std::string text = longest + "\r\n" + tooLong + "\n" + tooLong + tooLong + "\nz\n";
    EXPECT_EQ(parse(text), (Names{longest, "z"}));
}

// A list of millions of line ends would cost gigabytes of names: parsing stops one line past
// the most a list may hold.
TEST(NameList, ParsingStopsOneLinePastTheMost) {
    EXPECT_EQ(parse(std::string(kMaxNameLines, '\n')).size(), kMaxNameLines);
    EXPECT_EQ(parse(std::string(3 * kMaxNameLines, '\n')).size(), kMaxNameLines + 1);
}

} // namespace
} // namespace pixmorph
