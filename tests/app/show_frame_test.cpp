#include "app/control_ids.h"
#include "app/converter_state.h"
#include "app/show_frame.h"
#include "core/core_test_files.h"
#include "fakes.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using test::handLaidSprite;

// `count` frames, each a 2 x 2 box at (1, 1) of pixel value frame + 1, in a 4 x 4 sprite.
ByteVector spriteOfFrames(int count) {
    std::vector<test::HandFrame> frames;
    for (std::uint8_t v = 1; v <= count; ++v)
        frames.push_back({1, 1, 2, 2, {{2, v, v}, {2, v, v}}});
    return handLaidSprite(4, 4, frames);
}

class ShowFrameTest : public ::testing::Test {
protected:
    ShowFrameTest() {
        for (std::uint32_t i = 0; i < 256; ++i)
            state.palette.entries[i] = 0x010000u * i;
    }
    void show(const std::string& name, int frame, FrameRequest request = FrameRequest::command) {
        state.grpNameText = name;
        state.currentFrame = frame;
        showFrame(state, window, request);
    }
    testing::ScratchDir folder;
    testing::RecordingWindow window;
    ConverterState state;
};

TEST_F(ShowFrameTest, OnlyALowerCaseGrpExtensionIsOpened) {
    folder.write("zealot.grp", spriteOfFrames(1));
    for (const char* name : {"zealot.GRP", "zealot", "zealot.grp.bak", "a.grp/zealot"}) {
        window.messages.clear();
        show(folder.file(name), 0);
        ASSERT_EQ(window.messages.size(), 1u) << name;
        EXPECT_EQ(window.messages[0].text, "Not a .GRP File");
    }
    EXPECT_TRUE(window.surface.events.empty());

    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    show("zealot.grp", 0); // a bare name is found in the current directory
    std::filesystem::current_path(previous);
    EXPECT_EQ(state.frameCount, 1);
}

TEST_F(ShowFrameTest, DrawsTheBoxAtThePreviewCornerWithTheSpriteSizeInTheFields) {
    const std::string sprite = folder.write(
        "s.grp", handLaidSprite(
                     40, 30, {{0, 0, 1, 1, {{1, 1}}}, {5, 7, 3, 2, {{3, 1, 2, 3}, {3, 4, 0, 6}}}}));
    state.clearPreview = true;
    state.frameCount = 99;
    show(sprite, 1);
    EXPECT_EQ(state.frameCount, 99) << "only frame 0 sets the frame count";
    EXPECT_FALSE(state.clearPreview);
    EXPECT_EQ(window.surface.events, (std::vector<std::string>{"begin", "black", "black", "end"}));
    EXPECT_EQ(window.surface.stretches, (std::vector<testing::Stretch>{{3, 2, 285, 15, 3, 2}}));
    EXPECT_EQ(window.surface.pixels.size(), 6u);
    EXPECT_EQ(window.surface.pixel(2, 1), 0x060000u);
    EXPECT_EQ(window.surface.pixel(1, 1), 0u);
    EXPECT_EQ(window.texts[ids::kWidth], "40");
    EXPECT_EQ(window.texts[ids::kHeight], "30");
    EXPECT_EQ(window.texts[ids::kFrameCount], "2");
    EXPECT_EQ(window.texts[ids::kFrameNumber], "1");

    show(sprite, 0);
    EXPECT_EQ(state.frameCount, 2);
}

TEST_F(ShowFrameTest, FramesOutsideTheCountDrawNothing) {
    ByteVector bytes = spriteOfFrames(2);
    bytes[0] = 1; // the table holds a good second entry, but the header counts one frame
    const std::string sprite = folder.write("s.grp", bytes);
    for (const int frame : {1, 2, 70000, -1}) {
        show(sprite, frame);
        EXPECT_TRUE(window.surface.pixels.empty()) << frame;
        EXPECT_TRUE(window.surface.stretches.empty()) << frame;
    }
    show(folder.write("none.grp", handLaidSprite(8, 8, {})), 0);
    EXPECT_EQ(state.frameCount, 0);
    EXPECT_TRUE(window.surface.pixels.empty());
}

TEST_F(ShowFrameTest, TruncatedFilesDrawWhatDecodes) {
    const ByteVector whole =
        handLaidSprite(8, 8, {{0, 0, 2, 3, {{2, 1, 2}, {2, 3, 4}, {2, 5, 6}}}});
    for (std::size_t length = 0; length < whole.size(); ++length) {
        window.surface = {};
        state.frameCount = 7;
        show(folder.write("cut.grp", Bytes(whole).first(length)), 0);
        EXPECT_TRUE(window.messages.empty());
        EXPECT_LE(window.surface.pixels.size(), 6u);
        if (length < 6) {
            EXPECT_EQ(state.frameCount, 0) << length;
        }
    }
    // Cut inside the last row: the rows before it are all there.
    EXPECT_EQ(window.surface.pixel(1, 1), 0x040000u);
}

TEST_F(ShowFrameTest, AnUnreadableFileIsReportedOnlyWhenACommandAsked) {
    show(folder.file("gone.grp"), 0, FrameRequest::firstPaint);
    EXPECT_TRUE(window.messages.empty());
    show(folder.file("gone.grp"), 0, FrameRequest::command);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, folder.file("gone.grp") + " was not found.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::stop);
    EXPECT_TRUE(window.surface.events.empty());
}

} // namespace
} // namespace pixmorph
