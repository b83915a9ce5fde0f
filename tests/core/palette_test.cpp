#include "core/palette.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>

namespace pixmorph {
namespace {

Bytes bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Line i of the colours is "i i i" unless replaced; 256 such lines always pass 768 bytes.
std::string jascFile(std::map<int, std::string> replaced = {}, const char* count = "256",
                     int colourLines = 256) {
    std::string text = std::string("JASC-PAL\r\n0100\r\n") + count + "\r\n";
    for (int i = 0; i < colourLines; ++i) {
        const std::string n = std::to_string(i);
        text += (replaced.contains(i) ? replaced[i] : n + " " + n + " " + n) + "\r\n";
    }
    return text;
}

TEST(Palette, DefaultAndNames) {
    EXPECT_EQ(DefaultPalette.entries[1], 0x00FF2323u); // 2323FF, red in the low byte
    EXPECT_EQ(DefaultPalette.entries[16], 0x0018242Cu);
    EXPECT_EQ(DefaultPalette.entries[255], 0x00FFFFFFu);
    EXPECT_EQ(Palette(), DefaultPalette);
    EXPECT_TRUE(hasPaletteName("unitspal"));
    EXPECT_FALSE(hasPaletteName("units.PAL"));
    EXPECT_EQ(paletteFileName("C:\\game\\units.pal"), "units.pal");
}

TEST(Palette, SizeRuleAndRawFiles) {
    std::string raw(768, '\0');
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<char>(i % 251);
    const PaletteFile read = parsePaletteFile(bytesOf(raw));
    EXPECT_EQ(read.kind, PaletteFileKind::raw);
    EXPECT_EQ(read.palette.entries[255], Palette::colour(765 % 251, 766 % 251, 767 % 251));
    const PaletteFile over = parsePaletteFile(bytesOf(raw + "x"));
    EXPECT_EQ(over.kind, PaletteFileKind::notRecognised);
    EXPECT_EQ(over.palette, DefaultPalette);
    // A JASC file of 768 bytes or less is raw: its characters are colours.
    EXPECT_EQ(parsePaletteFile(bytesOf(jascFile({}, "256", 3))).palette.entries[0],
              Palette::colour('J', 'A', 'S'));
    // A short raw file: whole records, a part record, then black.
    const PaletteFile shortFile = parsePaletteFile(bytesOf("\x01\x02\x03\x04"));
    EXPECT_EQ(shortFile.palette.entries[0], Palette::colour(1, 2, 3));
    EXPECT_EQ(shortFile.palette.entries[1], Palette::colour(4, 0, 0));
    EXPECT_EQ(shortFile.palette.entries[2], 0u);
}

TEST(Palette, JascColourLines) {
    const PaletteFile read = parsePaletteFile(bytesOf(jascFile({
        {0, "255 128 0"},
        {1, "255 128 0 "}, // split from the right: blue is the empty last part
        {2, "300 -1 256"}, // low 8 bits
        {3, "  7   9"},
        {4, "12 34"}, // fewer than two blanks: missing parts are 0
        {5, "99"},
        {6, "+5 x 99999999999999999999"}, // 10^20 - 1 keeps 255 in its low bits
    })));
    ASSERT_EQ(read.kind, PaletteFileKind::jasc);
    const std::uint32_t expected[] = {0x000080FF,
                                      Palette::colour(255, 0, 0),
                                      Palette::colour(44, 255, 0),
                                      Palette::colour(7, 0, 9),
                                      Palette::colour(0, 12, 34),
                                      Palette::colour(0, 0, 99),
                                      Palette::colour(5, 0, 255),
                                      Palette::colour(7, 7, 7)};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(read.palette.entries[i], expected[i]) << i;
}

TEST(Palette, JascHeaderAndLineEdges) {
    EXPECT_EQ(parsePaletteFile(bytesOf(jascFile({}, "2560"))).kind, PaletteFileKind::jasc);
    const PaletteFile spaced = parsePaletteFile(bytesOf(jascFile({}, " 256")));
    EXPECT_EQ(spaced.kind, PaletteFileKind::jascNot256);
    EXPECT_EQ(spaced.palette, DefaultPalette);
    EXPECT_EQ(parsePaletteFile(bytesOf("jasc" + jascFile().substr(4))).kind,
              PaletteFileKind::notRecognised);

    // Ends after 200 colour lines: the last line read stands for the rest.
    const PaletteFile shortFile = parsePaletteFile(bytesOf(jascFile({{199, "1 2 3"}}, "256", 200)));
    EXPECT_EQ(shortFile.palette.entries[255], Palette::colour(1, 2, 3));

    // 127 characters end a line; the rest " 7 8" is read as the next colour line. LF alone ends
    // lines as well as CR LF.
    std::string text = jascFile({{0, "1 2 " + std::string(123, '3') + " 7 8"}});
    std::erase(text, '\r');
    const PaletteFile split = parsePaletteFile(bytesOf(text));
    EXPECT_EQ(split.palette.entries[0], Palette::colour(1, 2, 85)); // 123 threes, mod 256
    EXPECT_EQ(split.palette.entries[1], Palette::colour(0, 7, 8));
    EXPECT_EQ(split.palette.entries[2], Palette::colour(1, 1, 1));
}

TEST(Palette, NearestColourLowestIndexWinsTies) {
    std::array<std::uint32_t, 256> entries{};
    entries.fill(Palette::colour(200, 200, 200));
    entries[0] = 0;
    entries[3] = Palette::colour(100, 0, 0);
    entries[4] = Palette::colour(0, 100, 0);
    NearestColour nearest{Palette(entries)};
    for (int pass = 0; pass < 2; ++pass) { // the second pass answers from the memo
        EXPECT_EQ(nearest.match(60, 60, 0), 3);
        EXPECT_EQ(nearest.match(0, 90, 0), 4);
        EXPECT_EQ(nearest.match(5, 5, 0), 0);
        EXPECT_EQ(nearest.match(255, 255, 255), 1);
    }
}

TEST(Palette, RealRawPalettes) {
    const std::filesystem::path folder = "/work/shared/real-samples";
    if (!std::filesystem::exists(folder / "Units.pal"))
        GTEST_SKIP() << "no real samples";
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (!hasPaletteName(file.path().string()))
            continue;
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const PaletteFile palette = parsePaletteFile(bytesOf(bytes));
        EXPECT_EQ(palette.kind, PaletteFileKind::raw) << file.path();
        if (file.path().filename() == "Units.pal") { // the built-in colours are the units'
            EXPECT_EQ(palette.palette, DefaultPalette);
        }
    }
}

} // namespace
} // namespace pixmorph
