#include "core/palette.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace pixmorph {
namespace {

Palette parsed(const std::string& text, PaletteFileKind kind) {
    const PaletteFile file =
        parsePaletteFile({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    EXPECT_EQ(file.kind, kind);
    return file.palette;
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

TEST(Palette, SizeRuleAndRawFiles) {
    std::string raw(768, '\0');
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<char>(i % 251);
    EXPECT_EQ(parsed(raw, PaletteFileKind::raw).entries[255],
              Palette::colour(765 % 251, 766 % 251, 767 % 251));
    EXPECT_EQ(parsed(raw + "x", PaletteFileKind::notRecognised), DefaultPalette);
    // A JASC file of 768 bytes or less is raw: its characters are colours.
    EXPECT_EQ(parsed(jascFile({}, "256", 3), PaletteFileKind::raw).entries[0],
              Palette::colour('J', 'A', 'S'));
    // A short raw file: whole records, a part record, then black.
    const Palette shortFile = parsed("\x01\x02\x03\x04", PaletteFileKind::raw);
    EXPECT_EQ(shortFile.entries[0], Palette::colour(1, 2, 3));
    EXPECT_EQ(shortFile.entries[1], Palette::colour(4, 0, 0));
    EXPECT_EQ(shortFile.entries[2], 0u);
    EXPECT_TRUE(hasPaletteName("unitspal")); // the case-sensitive ending alone counts
    EXPECT_FALSE(hasPaletteName("units.PAL"));
    EXPECT_EQ(paletteFileName("C:\\game\\units.pal"), "units.pal");
}

TEST(Palette, JascColourLines) {
    const Palette read = parsed(jascFile({
                                    {0, "255 128 0"},
                                    {1, "255 128 0 "}, // split from the right: blue is empty
                                    {2, "300 -1 256"}, // low 8 bits
                                    {3, "  7   9"},
                                    {4, "12 34"}, // fewer than two blanks: missing parts are 0
                                    {5, "99"},
                                    {6, "+5 x 99999999999999999999"}, // 10^20 - 1: 255 low
                                }),
                                PaletteFileKind::jasc);
    const std::uint32_t expected[] = {0x000080FF,
                                      Palette::colour(255, 0, 0),
                                      Palette::colour(44, 255, 0),
                                      Palette::colour(7, 0, 9),
                                      Palette::colour(0, 12, 34),
                                      Palette::colour(0, 0, 99),
                                      Palette::colour(5, 0, 255),
                                      Palette::colour(7, 7, 7)};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(read.entries[i], expected[i]) << i;
}

TEST(Palette, JascHeaderAndLineEdges) {
    parsed(jascFile({}, "2560"), PaletteFileKind::jasc);
    EXPECT_EQ(parsed(jascFile({}, " 256"), PaletteFileKind::jascNot256), DefaultPalette);
    parsed("jasc" + jascFile().substr(4), PaletteFileKind::notRecognised);
    // Ends after 200 colour lines: the last line read stands for the rest.
    EXPECT_EQ(parsed(jascFile({{199, "1 2 3"}}, "256", 200), PaletteFileKind::jasc).entries[255],
              Palette::colour(1, 2, 3));

    // 127 characters end a line; the rest " 7 8" is read as the next colour line. LF alone ends
    // lines as well as CR LF.
    std::string text = jascFile({{0, "1 2 " + std::string(123, '3') + " 7 8"}});
    std::erase(text, '\r');
    const Palette split = parsed(text, PaletteFileKind::jasc);
    EXPECT_EQ(split.entries[0], Palette::colour(1, 2, 85)); // 123 threes, mod 256
    EXPECT_EQ(split.entries[1], Palette::colour(0, 7, 8));
    EXPECT_EQ(split.entries[2], Palette::colour(1, 1, 1));
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

} // namespace
} // namespace pixmorph
