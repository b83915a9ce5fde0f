#include "app/converter_state.h"
#include "app/load_palette.h"
#include "core/core_test_files.h"
#include "fakes.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

std::string rawPalette(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

std::string jascPalette(const std::string& countLine) {
    std::string text = "JASC-PAL\r\n0100\r\n" + countLine + "\r\n";
    for (int i = 0; i < 256; ++i)
        text += "255 128 " + std::to_string(i) + "\r\n";
    return text;
}

const Palette kMarker = [] {
    Palette palette;
    palette.entries.fill(0x123456);
    return palette;
}();

enum class Colours { unchanged, fromFile, builtIn };

struct PaletteCase {
    const char* label;
    const char* fileName;
    std::optional<std::string> contents; // nullopt: no such file
    bool cancel;
    std::string message; // "" none; "stop": the file-error message
    std::string name;    // "%f" stands for the file name
    Colours colours;
    bool locationChanges;
};

class LoadPaletteOutcomes : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(LoadPaletteOutcomes, NameColoursAndLocationFollowTheOutcome) {
    const PaletteCase& c = GetParam();
    testing::ScratchDir folder;
    const std::string path =
        c.contents ? folder.write(c.fileName, *c.contents) : folder.file(c.fileName);
    testing::RecordingWindow window;
    if (!c.cancel)
        window.pickerAnswers.push_back(path);
    ConverterState state;
    state.initDone = true;
    state.palette = kMarker;
    state.paletteLocation = "/old/units.pal";
    state.paletteNameText = "old name";
    loadPalette(state, window);

    EXPECT_EQ(window.pickerTitles, (std::vector<std::string>{"Select a STARCRAFT palette file:"}));
    if (c.message.empty()) {
        EXPECT_TRUE(window.messages.empty());
    } else {
        ASSERT_EQ(window.messages.size(), 1u);
        const bool stop = c.message == "stop";
        EXPECT_EQ(window.messages[0].text, stop ? path + " was not found." : c.message);
        EXPECT_EQ(window.messages[0].icon, stop ? MessageIcon::stop : MessageIcon::exclamation);
    }
    std::string name = c.name;
    if (const auto at = name.find("%f"); at != std::string::npos)
        name.replace(at, 2, c.fileName);
    EXPECT_EQ(state.paletteNameText, name);
    EXPECT_EQ(state.palette == kMarker, c.colours == Colours::unchanged);
    EXPECT_EQ(state.palette == DefaultPalette, c.colours == Colours::builtIn);
    EXPECT_EQ(state.paletteLocation, c.locationChanges ? path : "/old/units.pal");
}

const std::string kUnknown = "Unable to determine file type\nusing default.";
const std::string kNot256 = "Jasc Palette: not 256 colors \nusing default.";
const std::string kDefault = "-=Default=-";

using C = PaletteCase;
const auto unchanged = Colours::unchanged, fromFile = Colours::fromFile, builtIn = Colours::builtIn;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, LoadPaletteOutcomes, ::testing::Values(
    C{"cancelled", "a.pal", rawPalette(768), true, "", "", unchanged, false},
    C{"upperCase", "a.PAL", rawPalette(768), false, "", "", unchanged, false},
    C{"raw", "a.pal", rawPalette(768), false, "", "%f - SC Pal", fromFile, true},
    C{"noDot", "apal", rawPalette(30), false, "", "%f - SC Pal", fromFile, true},
    C{"bytes769", "a.pal", rawPalette(769), false, kUnknown, kDefault, builtIn, false},
    C{"jasc", "a.pal", jascPalette("2560"), false, "", "%f - JASC Pal", fromFile, true},
    C{"jascNot256", "a.pal", jascPalette(" 256"), false, kNot256, kDefault, builtIn, false},
    C{"missing", "a.pal", std::nullopt, false, "stop", "old name", unchanged, false}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

TEST(LoadPalette, AtStartUpTheStoredFileIsReadWithoutAskingOrTheBuiltInOneStays) {
    testing::ScratchDir folder;
    testing::RecordingWindow window;
    ConverterState state;
    state.paletteLocation = folder.write("units.pal", rawPalette(768));
    loadPalette(state, window);
    EXPECT_EQ(state.paletteNameText, "units.pal - SC Pal");
    EXPECT_EQ(state.palette.entries[1], Palette::colour(3, 4, 5));

    ConverterState gone; // a stored palette that has gone: message, built-in, location kept
    gone.palette = kMarker;
    gone.paletteLocation = folder.file("gone.pal");
    loadPalette(gone, window);
    EXPECT_TRUE(window.pickerTitles.empty());
    EXPECT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(gone.palette, DefaultPalette);
    EXPECT_EQ(gone.paletteNameText, kDefault);
    EXPECT_EQ(gone.paletteLocation, folder.file("gone.pal"));
}

TEST(LoadPalette, TheShownSpriteIsRedrawnFromFrameZeroEvenWhenCancelled) {
    testing::ScratchDir folder;
    testing::RecordingWindow window;
    ConverterState state;
    state.initDone = true;
    state.grpNameText = folder.write(
        "s.grp",
        test::handLaidSprite(4, 4, std::vector<test::HandFrame>(3, {1, 1, 1, 1, {{1, 1}}})));
    state.currentFrame = 2;
    state.palette = kMarker;
    loadPalette(state, window);
    EXPECT_EQ(state.currentFrame, 0);
    EXPECT_EQ(window.surface.pixel(0, 0), kMarker.entries[1]);
}

} // namespace
} // namespace pixmorph
