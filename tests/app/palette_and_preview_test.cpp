#include "app/control_ids.h"
#include "app/converter_state.h"
#include "app/load_palette.h"
#include "app/show_frame.h"
#include "core/core_test_files.h"
#include "fakes.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

std::string palette(const std::string& jascCount) {
    std::string text = "JASC-PAL\r\n0100\r\n" + jascCount + "\r\n";
    for (int i = 0; i < 256; ++i)
        text += "255 128 " + std::to_string(i) + "\r\n";
    return jascCount.empty() ? std::string(768, '\3') : text;
}

// Each outcome: the message, the shown name and whether the colours are the file's. Refused
// palettes and their messages: the malformed-input suite.
TEST(LoadPalette, NameColoursAndLocationFollowTheOutcome) {
    const struct {
        std::optional<std::string> contents; // nullopt: no such file
        std::string message, name;
        std::string file = "a.pal";
    } cases[] = {{palette(""), "", "a.pal - SC Pal"},
                 {palette("2560"), "", "a.pal - JASC Pal"},
                 {std::string(1024, '\5'), "", "units.wpe - Tileset Pal", "units.wpe"},
                 {std::nullopt, "%f", "old name"}};
    for (const auto& c : cases) {
        testing::ScratchDir folder;
        const std::string path =
            c.contents ? folder.write(c.file, *c.contents) : folder.file(c.file);
        testing::RecordingWindow window;
        window.pickerAnswer = path;
        ConverterState state;
        state.startup.initDone = true;
        state.locations.paletteLocation = "/old/units.pal";
        state.fields.paletteNameText = "old name";
        loadPalette(state, window.frameWindow(), window);
        const std::string message = c.message == "%f" ? path + " was not found." : c.message;
        EXPECT_EQ(window.messages.empty() ? "" : window.messages[0].text, message);
        EXPECT_EQ(state.fields.paletteNameText, c.name);
        const bool read = c.message.empty();
        EXPECT_EQ(state.palette != DefaultPalette, read) << c.name;
        EXPECT_EQ(state.locations.paletteLocation, read ? path : "/old/units.pal") << c.name;
    }
}

// Palette entry i is red i.
struct ShowFrame : ::testing::Test {
    ShowFrame() {
        for (std::uint32_t i = 0; i < 256; ++i)
            state.palette.entries[i] = 0x010000u * i;
    }
    void show(const std::string& name, int frame, FrameRequest request = FrameRequest::command) {
        state.fields.grpNameText = name;
        state.shown.currentFrame = frame;
        showFrame(state, window.frameWindow(), request);
    }
    testing::ScratchDir folder;
    testing::RecordingWindow window;
    ConverterState state;
};

TEST_F(ShowFrame, DrawsTheBoxAtThePreviewCornerOrNothingOutsideTheCount) {
    ByteVector bytes = test::handLaidSprite(
        40, 30, {{0, 0, 1, 1, {{1, 1}}}, {5, 7, 3, 2, {{3, 1, 2, 3}, {3, 4, 0, 6}}}});
    const std::string sprite = folder.write("s.grp", bytes);
    state.shown.frameCount = 99;
    show(sprite, 1);
    EXPECT_EQ(state.shown.frameCount, 99) << "only frame 0 sets the frame count";
    // Where and how the preview box is drawn: the clicked-through desktop run.
    EXPECT_EQ(window.surface.pixels.size(), 6u);
    EXPECT_EQ((window.surface.pixels[{2, 1}]), 0x060000u);
    EXPECT_EQ(window.texts[ids::kWidth], "40");
    EXPECT_EQ(window.texts[ids::kFrameCount], "2");

    bytes[0] = 1; // the table holds a good second entry, but the header counts one frame
    window.surface = {};
    show(folder.write("s.grp", bytes), 1);
    EXPECT_TRUE(window.surface.pixels.empty());
}

// An uncompressed sprite: its raw rows are drawn, not read as opcodes.
TEST_F(ShowFrame, UncompressedRowsAreDrawnAsTheyStand) {
    ByteVector bytes = {1, 0, 40, 0, 30, 0, 5, 7, 3, 2, 14, 0, 0, 0};
    bytes.insert(bytes.end(), {3, 1, 2, 0x44, 9, 6}); // run-length: a row offset past the end
    show(folder.write("s.grp", bytes), 0);
    EXPECT_EQ(window.surface.pixels.size(), 6u);
    EXPECT_EQ((window.surface.pixels[{0, 1}]), 0x440000u);
    EXPECT_EQ((window.surface.pixels[{2, 1}]), 0x060000u);
}

TEST_F(ShowFrame, AnUnreadableFileIsReportedOnlyWhenACommandAsked) {
    show(folder.file("gone.grp"), 0, FrameRequest::firstPaint);
    EXPECT_TRUE(window.messages.empty());
    show(folder.file("gone.grp"), 0, FrameRequest::command);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, folder.file("gone.grp") + " was not found.");
    EXPECT_TRUE(window.surface.pixels.empty());
}

} // namespace
} // namespace pixmorph
