#include "app/control_ids.h"
#include "app/converter_state.h"
#include "app/dropped_file.h"
#include "app/large_preview.h"
#include "app/playback.h"
#include "app/show_frame.h"
#include "core/core_test_files.h"
#include "fakes.h"
#include "support/job_files.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

struct FakeTimer : PlaybackTimer {
    void start(int intervalMs) override { interval = intervalMs; }
    void stop() override { interval = 0; }
    int interval = 0; // 0: stopped
};

// Three frames of 2 x 1 in a 4 x 3 sprite; frame n is drawn at (n, n) in colours n+1 and 0.
struct Played : ::testing::Test {
    Played() {
        const ByteVector bytes = test::handLaidSprite(
            4, 3,
            {{0, 0, 2, 1, {{2, 1, 0}}}, {1, 1, 2, 1, {{2, 2, 0}}}, {2, 2, 2, 1, {{2, 3, 0}}}});
        state.fields.grpNameText = folder.write("s.grp", bytes);
        showFrame(state, window.frameWindow());
    }
    testing::ScratchDir folder;
    testing::RecordingWindow window;
    ConverterState state;
    FakeTimer timer;
    Playback playback{state, window.frameWindow(), timer};
};

TEST_F(Played, FramesAdvanceAtTheGamesPaceAndWrap) {
    playback.toggle();
    EXPECT_EQ(timer.interval, 41); // 24 frames a second
    std::string shown;
    for (int i = 0; i < 4; ++i) {
        playback.tick();
        shown += window.texts[ids::kFrameNumber];
    }
    EXPECT_EQ(shown, "1201");
    EXPECT_EQ(state.shown.canvas.at(1, 1), 2) << "the canvas holds the frame shown";
    playback.toggle();
    EXPECT_EQ(timer.interval, 0);
    playback.tick(); // a tick already queued when it stopped
    EXPECT_EQ(state.shown.currentFrame, 1);
}

TEST_F(Played, ALostFileIsReportedOnceAndStopsIt) {
    playback.toggle();
    std::filesystem::remove(state.fields.grpNameText);
    playback.tick();
    playback.tick();
    EXPECT_EQ(window.messages.size(), 1u);
    EXPECT_FALSE(playback.playing());
    EXPECT_EQ(state.fields.frameCountText, "3");
}

TEST_F(Played, NeedsFramesAndStopsOnNavigationAndLoading) {
    state = ConverterState{};
    playback.toggle();
    EXPECT_FALSE(playback.playing()) << "no sprite";
    EXPECT_EQ(nextFrameWrapping(7, 3), 0) << "a shorter sprite loaded meanwhile";
    for (const int id : {ids::kNextFrame, ids::kBackTen, ids::kLoadExternalFile, ids::kArchiveList})
        EXPECT_TRUE(commandStopsPlayback(id)) << id;
    for (const int id : {ids::kScale, ids::kLoadPalette, ids::kAboutCommand})
        EXPECT_FALSE(commandStopsPlayback(id)) << id;
}

TEST_F(Played, TheLargePictureIsTheSpritesRectangleWithIndexZeroClear) {
    for (std::uint32_t i = 0; i < 256; ++i)
        state.palette.entries[i] = 0x010203u * i; // red i, green 2i, blue 3i
    playback.toggle();
    playback.tick();
    const SpritePicture picture = spritePicture(state);
    ASSERT_EQ(picture.width, 4);
    ASSERT_EQ(picture.height, 3);
    EXPECT_EQ(picture.pixels[1 * 4 + 1], 0xFF060402u); // frame 1's pixel of index 2
    EXPECT_EQ(picture.pixels[1 * 4 + 2], 0u) << "index 0";
    EXPECT_EQ(picture.pixels[0], 0u) << "outside the frame";

    EXPECT_EQ(pictureInView(100, 50, 4, 3, 8), (ViewRect{34, 13, 32, 24}));
    EXPECT_EQ(pictureInView(10, 10, 4, 3, 20), (ViewRect{-11, -7, 32, 24})) << "zoom capped at 8";
    EXPECT_EQ(pictureInView(10, 10, 4, 3, 0), (ViewRect{3, 3, 4, 3}));
    EXPECT_TRUE(spritePicture(ConverterState{}).pixels.empty()) << "no sprite shown";
}

TEST(LargePreviewSettings, KeptInTheirOwnSectionAndReadBackSafely) {
    testing::MemorySettingsStore store;
    writeLargePreviewSettings(store, {800, 600, 12});
    EXPECT_EQ(readLargePreviewSettings(store), (LargePreviewSettings{800, 600, 8}));
    for (const auto& [key, value] : store.values)
        EXPECT_EQ(key.first, "LargePreview");
    store.setString("LargePreview", "width", "-5");
    store.setString("LargePreview", "height", "600x");
    store.setString("LargePreview", "zoom", "0");
    EXPECT_EQ(readLargePreviewSettings(store), LargePreviewSettings{});
}

// By extension in any case, never by a folder's name; names without one do nothing.
TEST(DroppedFile, TheKindDecidesTheCommand) {
    const struct {
        const char* path;
        bool folder;
        int command;
    } cases[] = {{"/a/Zealot.GRP", false, ids::kLoadExternalFile},
                 {"/a/units.pal", false, ids::kLoadPalette},
                 {"/a/units.wpe", false, ids::kLoadPalette},
                 {"/a/zealot.qbl", false, ids::kCompileToGrp},
                 {"/a/zealot.json", false, ids::kCompileToGrp},
                 {"/a/out.grp", true, ids::kSetOutputDirectory},
                 {"/a.grp/readme", false, 0},
                 {"/a/.grp", false, 0},
                 {"/a/zealot.bmp", false, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(commandForDrop(dropActionFor(c.path, c.folder)), c.command) << c.path;
}

} // namespace
} // namespace pixmorph
