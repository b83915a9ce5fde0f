#include "core/messages.h"
#include "core/qbl_list.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using Names = std::vector<std::string>;

TEST(QblList, WrittenListReadsBack) {
    const Names lines = {"unit.grp", "unit000.bmp", "unit001.bmp", "dupe_of_unit001.bmp"};
    const QblList list = readQblList(writeQblList(lines));
    ASSERT_EQ(list.status, QblReadStatus::ok);
    EXPECT_EQ(list.grpName, "unit.grp");
    EXPECT_EQ(list.frames, Names(lines.begin() + 1, lines.end()));
    // White space of any kind separates names, so a blank splits a name.
    const QblList split = readQblList(writeQblList({"my unit.grp", "my\tunit000.bmp"}));
    EXPECT_EQ(split.grpName, "my");
    EXPECT_EQ(split.frames, (Names{"unit.grp", "my", "unit000.bmp"}));
}

TEST(QblList, RefusalsAndBounds) {
    const QblList refused = readQblList("QuillbrightBigUnit.grp\r\na.bmp\r\n");
    EXPECT_EQ(refused.status, QblReadStatus::unsupportedFormat);
    EXPECT_EQ(qblReadMessage(refused), msg::kUnsupportedList);
    EXPECT_EQ(readQblList("quillbrightBigUn.grp").status, QblReadStatus::ok);
    EXPECT_EQ(readQblList(" \r\n\t ").status, QblReadStatus::empty);

    const std::string longest(127, 'n');
    EXPECT_EQ(readQblList("a.grp " + longest).status, QblReadStatus::ok);
    const QblList overLong = readQblList("a.grp b.bmp " + longest + "x c.bmp");
    EXPECT_EQ(overLong.status, QblReadStatus::nameTooLong);
    EXPECT_TRUE(qblReadMessage(overLong).ends_with(longest + "x"));

    // Millions of names keep no more of them than a GRP can hold, plus one; the rest are
    // counted and still checked for length.
    std::string text = "a.grp";
    for (std::size_t i = 0; i < kMaxKeptListFrames + 10; ++i)
        text += " f.bmp";
    const QblList list = readQblList(text);
    EXPECT_EQ(list.frames.size(), kMaxKeptListFrames);
    EXPECT_EQ(list.listedFrames, kMaxKeptListFrames + 10);
    EXPECT_EQ(readQblList(text + " " + std::string(128, 'n')).status, QblReadStatus::nameTooLong);
}

// Which names a list takes is tested through the compile window.
TEST(QblList, DupeFrameNumbers) {
    const std::tuple<const char*, const char*, std::optional<long>> cases[] = {
        {"dupe_of_unit001.bmp", "unit", 1},
        {"dupe_of_unit1000.bmp", "unit", 1000}, // tags grow past three digits
        {"dupe_of_unit2005.bmp", "unit2", 5},   // a stem ending in a digit
        {"dupe_of_other042.bmp", "unit", 42},   // else the three characters before the last four
        {"dupe_of_unit1000.BMP", "unit", 0},
        {"dupe_of_unit.bmp", "unit", std::nullopt},
        {"dupe_of_x12.bmp", "unit", std::nullopt},
        {"dupe_of_unit99999999999.bmp", "unit", std::nullopt},
    };
    for (const auto& [name, listStem, frame] : cases)
        EXPECT_EQ(dupeFrameNumber(name, listStem), frame) << name;
}

} // namespace
} // namespace pixmorph
