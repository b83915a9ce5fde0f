#include "core/preview.h"
#include "core/qbl_list.h"

#include <gtest/gtest.h>
#include <string>

namespace pixmorph {
namespace {

TEST(QblList, NamesWithBlanksRoundTripAndOlderListsReadAsBefore) {
    const std::vector<std::string> names = {"my unit.grp", "my\tunit000.bmp", "a\"b.bmp",
                                            "dupe_of_my\tunit000.bmp"};
    for (const auto& name : names)
        EXPECT_EQ(listNameFit(name), ListNameFit::fits) << name;
    const QblList list = readQblList(writeQblList(names));
    ASSERT_EQ(list.status, QblReadStatus::ok);
    EXPECT_EQ(list.grpName, "my unit.grp");
    EXPECT_EQ(list.frames, std::vector<std::string>(names.begin() + 1, names.end()));

    // Unquoted names still split at any white space; a quote left open ends with its line.
    const QblList older = readQblList("u.grp u000.bmp\tu001.bmp\r\n\"open quote.bmp\r\n\"\"");
    EXPECT_EQ(older.frames, (std::vector<std::string>{"u000.bmp", "u001.bmp", "open quote.bmp"}));

    // Names that could not be read back as themselves.
    for (const char* name :
         {"\"x.grp", "my \"unit\".grp", "my\f\"unit.grp", "two\nlines.grp", "two\rlines.grp", ""})
        EXPECT_EQ(listNameFit(name), ListNameFit::unreadable) << name;
    EXPECT_EQ(listNameFit(std::string(128, 'n')), ListNameFit::tooLong);

    // A picture's frame number takes three digits at least.
    const std::pair<long, std::string> tags[] = {{0, "000"},   {7, "007"},     {42, "042"},
                                                 {999, "999"}, {1000, "1000"}, {65535, "65535"}};
    for (const auto& [index, tag] : tags)
        EXPECT_EQ(frameTag(index), tag);
}

TEST(QblList, RefusalsAndBounds) {
    // Refused first names and empty lists: the malformed-input suite.
    EXPECT_EQ(readQblList("a.grp " + std::string(127, 'n')).status, QblReadStatus::ok);
    // Names past what a GRP can hold are counted, not kept, and still checked for length.
    std::string text = "a.grp";
    for (std::size_t i = 0; i < kMaxKeptListFrames + 10; ++i)
        text += " f.bmp";
    const QblList list = readQblList(text);
    EXPECT_EQ(list.frames.size(), kMaxKeptListFrames);
    EXPECT_EQ(list.listedFrames, kMaxKeptListFrames + 10);
    EXPECT_EQ(readQblList(text + " " + std::string(128, 'n')).status, QblReadStatus::nameTooLong);
}

TEST(QblList, DupesFollowTheBitmapNameNotTheSpriteName) {
    auto resolved = [](std::vector<std::string> frames) { return resolveDupes(frames); };
    // The bitmap name listed before wins over any number in it: cmd1003 is frame 1 here.
    const DupeFrames byName =
        resolved({"cmd1000.bmp", "cmd1003.bmp", "dupe_of_cmd1003.bmp", "dupe_of_cmd1000.bmp"});
    EXPECT_FALSE(byName.unresolved);
    EXPECT_EQ(byName.repeats, (std::vector<std::optional<std::size_t>>{{}, {}, 1, 0}));
    // A name no earlier line carries is read by its three digits before ".bmp".
    EXPECT_EQ(resolved({"a.bmp", "b.bmp", "dupe_of_renamed001.bmp"}).repeats[2], 1u);
    // ... which must name an earlier frame; the first such entry is reported.
    for (const char* dupe : {"dupe_of_u002.bmp", "dupe_of_uxyz.bmp", "dupe_of_"}) {
        const DupeFrames bad = resolved({"u000.bmp", "u001.bmp", dupe, "dupe_of_nothing.bmp"});
        EXPECT_EQ(bad.unresolved, 2u) << dupe;
    }
}

TEST(PreviewFit, SizesOfThePreviewBox) {
    EXPECT_EQ(fitToPreview(100, 100, true), (DrawnSize{148, 148}));
    EXPECT_EQ(fitToPreview(148, 250, false), (DrawnSize{132, 223}));
}

} // namespace
} // namespace pixmorph
