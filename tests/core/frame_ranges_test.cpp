#include "core/frame_ranges.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(FrameRanges, GrammarAndSelection) {
    using Ranges = std::vector<FrameRange>;
    EXPECT_EQ(parseFrameRanges("0-16,34"), (Ranges{{0, 16}, {34, 34}}));
    for (const char* bad : {"", ",", "1,", "-3", "3-", "4-2", "1-2-3", " 1", "a", "1234567890"})
        EXPECT_EQ(parseFrameRanges(bad), std::nullopt) << bad;

    using Frames = std::vector<std::size_t>;
    EXPECT_EQ(selectFrames({{5, 6}, {0, 1}, {1, 2}}, 7), (Frames{0, 1, 2, 5, 6}));
    EXPECT_EQ(selectFrames({{0, 7}}, 7), std::nullopt);
}

TEST(FrameRanges, TheNoteComesOffTheListOnlyAtItsEnd) {
    QblList list = readQblList("s.grp s000.bmp s002.bmp partial_of_40\r\n");
    EXPECT_EQ(takePartialNote(list), 40u);
    EXPECT_EQ(list.frames, (std::vector<std::string>{"s000.bmp", "s002.bmp"}));
    EXPECT_EQ(list.listedFrames, 2u);
    EXPECT_EQ(takePartialNote(list), std::nullopt);

    QblList inside = readQblList("s.grp partial_of_40 s000.bmp partial_of_x");
    EXPECT_EQ(takePartialNote(inside), std::nullopt);
    EXPECT_EQ(inside.frames.size(), 3u);
}

} // namespace
} // namespace pixmorph
