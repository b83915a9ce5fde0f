#include "cli/terminal_text.h"

#include <gtest/gtest.h>

namespace pixmorph::cli {
namespace {

// What a terminal would act on is escaped; text in any script stays readable.
TEST(TerminalText, ControlsAndBrokenUtf8AreEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80.grp",
         "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80.grp"},
        {"a\x1b[2Jb\x7f\t", "a\\x1b[2Jb\\x7f\\x09"},
        {"\xc2\x9b"
         "31m",
         "\\xc2\\x9b31m"}, // CSI as a C1 character
        {"\x9b"
         "31m",
         "\\x9b31m"}, // and as a lone byte
        {"\xc0\xaf \xed\xa0\x80 \xe2\x82",
         "\\xc0\\xaf \\xed\\xa0\\x80 \\xe2\\x82"}, // overlong, surrogate, cut
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(escapeControls(text), shown);
}

TEST(TerminalText, AMessageNamesTheFileOnlyWhereTheNameStandsAlone) {
    EXPECT_TRUE(namesFile("s.grp is too short to be a GRP file.", "s.grp"));
    EXPECT_TRUE(namesFile("Disk full while accessing out/s000.bmp.", "out/s000.bmp"));
    EXPECT_TRUE(namesFile("a?b.grp cannot be saved:\nits name holds control characters.", "a\x1b"
                                                                                          "b.grp"));
    EXPECT_FALSE(namesFile("Access to out/s000.bmp was denied.", "s"));
    EXPECT_FALSE(namesFile("Access to out/s.grp.bak was denied.", "out/s.grp"));
    EXPECT_FALSE(namesFile("Not a .GRP File", "s.GRP"));
}

} // namespace
} // namespace pixmorph::cli
