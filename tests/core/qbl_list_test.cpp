#include "core/messages.h"
#include "core/qbl_list.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(QblNames, StemAndFrameTag) {
    EXPECT_EQ(stem("C:\\art\\zealot.grp"), "zealot");
    EXPECT_EQ(stem("/art/zealot.grp"), "zealot");
    EXPECT_EQ(stem("a.b.grp"), "a.b");
    EXPECT_EQ(stem("noext"), "noext");
    EXPECT_EQ(stem("dir.d\\name"), "name");
    EXPECT_EQ(frameTag(0), "000");
    EXPECT_EQ(frameTag(7), "007");
    EXPECT_EQ(frameTag(511), "511");
    EXPECT_EQ(frameTag(1000), "1000");
    EXPECT_EQ(frameTag(12345), "12345");
}

TEST(QblWrite, CrLfAfterEveryLine) {
    EXPECT_EQ(writeQblList({"unit.grp", "unit000.bmp", "dupe_of_unit000.bmp"}),
              "unit.grp\r\nunit000.bmp\r\ndupe_of_unit000.bmp\r\n");
    EXPECT_EQ(writeQblList({"unit.grp"}), "unit.grp\r\n");
}

TEST(QblRead, UniqueListOfFourFramesRoundTrips) {
    const std::vector<std::string> lines = {"unit.grp", "unit000.bmp", "unit001.bmp", "unit002.bmp",
                                            "dupe_of_unit001.bmp"};
    const QblList list = readQblList(writeQblList(lines));
    ASSERT_EQ(list.status, QblReadStatus::ok);
    EXPECT_EQ(list.grpName, "unit.grp");
    EXPECT_EQ(list.frames, std::vector<std::string>(lines.begin() + 1, lines.end()));
    EXPECT_EQ(dupeFrameNumber(list.frames[3], stem(list.grpName)), 1);
}

TEST(QblRead, WhiteSpaceSeparatesNames) {
    // A GRP name with a blank is split, as the format cannot hold one.
    const QblList split = readQblList(writeQblList({"my unit.grp", "my unit000.bmp"}));
    EXPECT_EQ(split.grpName, "my");
    EXPECT_EQ(split.frames, (std::vector<std::string>{"unit.grp", "my", "unit000.bmp"}));

    const QblList spaced = readQblList("  a.grp\t\tb.bmp\n\n\r\nc.bmp");
    EXPECT_EQ(spaced.grpName, "a.grp");
    EXPECT_EQ(spaced.frames, (std::vector<std::string>{"b.bmp", "c.bmp"}));

    const QblList onlyName = readQblList("unit.grp\r\n");
    EXPECT_EQ(onlyName.status, QblReadStatus::ok);
    EXPECT_TRUE(onlyName.frames.empty());
}

TEST(QblRead, Refusals) {
    const QblList refused = readQblList("QuillbrightBigUnit.grp\r\na.bmp\r\n");
    EXPECT_EQ(refused.status, QblReadStatus::unsupportedFormat);
    EXPECT_EQ(qblReadMessage(refused), msg::kUnsupportedList);
    // Case-sensitive, and only the first name counts.
    EXPECT_EQ(readQblList("quillbrightBigUn.grp").status, QblReadStatus::ok);
    EXPECT_EQ(readQblList("a.grp QuillbrightBigUn.bmp").status, QblReadStatus::ok);

    for (const char* empty : {"", " \r\n\t "}) {
        const QblList list = readQblList(empty);
        EXPECT_EQ(list.status, QblReadStatus::empty);
        EXPECT_EQ(qblReadMessage(list), msg::kListEmpty);
    }

    const std::string longest(127, 'n');
    EXPECT_EQ(readQblList("a.grp " + longest).status, QblReadStatus::ok);
    const std::string tooLong = longest + "x";
    const QblList overLong = readQblList("a.grp b.bmp " + tooLong + " c.bmp");
    EXPECT_EQ(overLong.status, QblReadStatus::nameTooLong);
    EXPECT_EQ(overLong.offendingName, tooLong);
    EXPECT_NE(qblReadMessage(overLong).find(tooLong), std::string::npos);
    EXPECT_EQ(qblReadMessage(readQblList("a.grp")), "");
}

TEST(QblPath, ExtensionFromTheLastDotInAnyCase) {
    EXPECT_TRUE(isQblPath("frames.qbl"));
    EXPECT_TRUE(isQblPath("frames.QBL"));
    EXPECT_TRUE(isQblPath("C:\\my.dir\\frames.Qbl"));
    EXPECT_FALSE(isQblPath("frames.txt"));
    EXPECT_FALSE(isQblPath("frames.qbl.txt"));
    EXPECT_FALSE(isQblPath("frames.qbls"));
    EXPECT_FALSE(isQblPath("qbl"));
    EXPECT_FALSE(isQblPath("C:\\x.qbl\\frames"));
    EXPECT_FALSE(isQblPath(""));
}

TEST(QblDupe, FrameNumberOfADupeName) {
    struct Case {
        const char* name;
        const char* listStem;
        std::optional<long> frame;
    };
    const Case cases[] = {
        {"dupe_of_unit001.bmp", "unit", 1},
        {"dupe_of_unit511.bmp", "unit", 511},
        {"dupe_of_unit1000.bmp", "unit", 1000}, // tags grow past three digits
        {"dupe_of_unit2005.bmp", "unit2", 5},   // a stem ending in a digit
        {"dupe_of_a.b000.bmp", "a.b", 0},
        // Another stem or ending: the three characters before the last four.
        {"dupe_of_other042.bmp", "unit", 42},
        {"dupe_of_unit1000.BMP", "unit", 0},
        {"dupe_of_unit.bmp", "unit", std::nullopt},
        {"dupe_of_unitabc.bmp", "unit", std::nullopt},
        {"dupe_of_x12.bmp", "unit", std::nullopt},
        {"dupe_of_unit99999999999.bmp", "unit", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dupeFrameNumber(c.name, c.listStem), c.frame) << c.name;
    EXPECT_EQ(dupeFrameNumber("1.bmp", ""), std::nullopt);
}

} // namespace
} // namespace pixmorph
