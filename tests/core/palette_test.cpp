#include "core/palette.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace pixmorph {
namespace {

Bytes bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// 256 colour lines are always more than 768 bytes, so these files are read as text.
std::string jascFile(const std::vector<std::string>& colourLines, const char* count = "256",
                     const char* lineEnd = "\r\n") {
    std::string text = std::string("JASC-PAL") + lineEnd + "0100" + lineEnd + count + lineEnd;
    for (const auto& line : colourLines)
        text += line + lineEnd;
    return text;
}

std::vector<std::string> greyLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < 256; ++i)
        lines.push_back(std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(i));
    return lines;
}

TEST(DefaultPalette, TabledEntries) {
    EXPECT_EQ(DefaultPalette.entries[0], 0x000000u);
    EXPECT_EQ(DefaultPalette.entries[1], 0x00FF2323u); // 2323FF, red in the low byte
    EXPECT_EQ(DefaultPalette.entries[8], 0x00FF00FFu);
    EXPECT_EQ(DefaultPalette.entries[16], 0x0018242Cu);  // 2C2418
    EXPECT_EQ(DefaultPalette.entries[128], 0x00FCE400u); // 00E4FC
    EXPECT_EQ(DefaultPalette.entries[211], 0x001818C8u); // C81818
    EXPECT_EQ(DefaultPalette.entries[212], 0x00FF2323u);
    EXPECT_EQ(DefaultPalette.entries[255], 0x00FFFFFFu);
    EXPECT_EQ(Palette(), DefaultPalette);
}

TEST(PaletteName, LastThreeCharactersExactlyPal) {
    EXPECT_TRUE(hasPaletteName("C:\\game\\units.pal"));
    EXPECT_TRUE(hasPaletteName("unitspal"));
    EXPECT_FALSE(hasPaletteName("units.PAL"));
    EXPECT_FALSE(hasPaletteName("units.pa"));
    EXPECT_FALSE(hasPaletteName("al"));
    EXPECT_EQ(paletteFileName("C:\\game\\units.pal"), "units.pal");
    EXPECT_EQ(paletteFileName("/home/me/units.pal"), "units.pal");
    EXPECT_EQ(paletteFileName("units.pal"), "units.pal");
}

TEST(RawPalette, SizeBoundaryIs768) {
    std::string raw(768, '\0');
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<char>(i * 7);
    const PaletteFile read = parsePaletteFile(bytesOf(raw));
    ASSERT_EQ(read.kind, PaletteFileKind::raw);
    EXPECT_EQ(read.palette.entries[0], Palette::colour(0, 7, 14));
    EXPECT_EQ(read.palette.entries[255],
              Palette::colour(765 * 7 & 0xFF, 766 * 7 & 0xFF, 767 * 7 & 0xFF));

    const PaletteFile text = parsePaletteFile(bytesOf(raw + "x"));
    EXPECT_EQ(text.kind, PaletteFileKind::notRecognised);
    EXPECT_EQ(text.palette, DefaultPalette);
}

TEST(RawPalette, ShortFileLeavesUncoveredEntriesBlack) {
    // 7 bytes: two whole records and one byte of the third.
    const PaletteFile read = parsePaletteFile(bytesOf("\x01\x02\x03\x04\x05\x06\x07"));
    ASSERT_EQ(read.kind, PaletteFileKind::raw);
    EXPECT_EQ(read.palette.entries[0], Palette::colour(1, 2, 3));
    EXPECT_EQ(read.palette.entries[1], Palette::colour(4, 5, 6));
    EXPECT_EQ(read.palette.entries[2], Palette::colour(7, 0, 0));
    for (std::size_t i = 3; i < 256; ++i)
        EXPECT_EQ(read.palette.entries[i], 0u) << i;
    EXPECT_EQ(parsePaletteFile({}).palette.entries[1], 0u);
}

TEST(RawPalette, SmallJascFileIsReadAsRawBytes) {
    const std::string small = "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n";
    const PaletteFile read = parsePaletteFile(bytesOf(small));
    EXPECT_EQ(read.kind, PaletteFileKind::raw);
    EXPECT_EQ(read.palette.entries[0], Palette::colour('J', 'A', 'S'));
}

TEST(JascPalette, ReadsColourLines) {
    auto lines = greyLines();
    lines[0] = "255 128 0";
    lines[1] = "255 128 0 "; // trailing blank: blue is the empty last part
    lines[2] = "300 -1 256"; // low 8 bits: 44, 255, 0
    lines[3] = "  7   9";    // red is "  7 ", green empty, blue 9
    lines[4] = "12 34";      // one blank: green and blue, red missing
    lines[5] = "99";         // no blank: blue only
    lines[6] = "";
    lines[7] = "+5 x 0012abc";
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const PaletteFile read = parsePaletteFile(bytesOf(jascFile(lines, "256", lineEnd)));
        ASSERT_EQ(read.kind, PaletteFileKind::jasc) << lineEnd;
        const auto& e = read.palette.entries;
        EXPECT_EQ(e[0], 0x000080FFu);
        EXPECT_EQ(e[1], Palette::colour(255, 0, 0));
        EXPECT_EQ(e[2], Palette::colour(44, 255, 0));
        EXPECT_EQ(e[3], Palette::colour(7, 0, 9));
        EXPECT_EQ(e[4], Palette::colour(0, 12, 34));
        EXPECT_EQ(e[5], Palette::colour(0, 0, 99));
        EXPECT_EQ(e[6], 0u);
        EXPECT_EQ(e[7], Palette::colour(5, 0, 12));
        EXPECT_EQ(e[255], Palette::colour(255, 255, 255));
    }
}

TEST(JascPalette, HeaderLines) {
    const auto lines = greyLines();
    EXPECT_EQ(parsePaletteFile(bytesOf(jascFile(lines, "2560"))).kind, PaletteFileKind::jasc);
    EXPECT_EQ(parsePaletteFile(bytesOf(jascFile(lines, " 256"))).kind, PaletteFileKind::jascNot256);
    EXPECT_EQ(parsePaletteFile(bytesOf(jascFile(lines, "16"))).kind, PaletteFileKind::jascNot256);
    const PaletteFile refused = parsePaletteFile(bytesOf(jascFile(lines, "255")));
    EXPECT_EQ(refused.palette, DefaultPalette);

    std::string lowerCase = jascFile(lines);
    lowerCase[0] = 'j';
    EXPECT_EQ(parsePaletteFile(bytesOf(lowerCase)).kind, PaletteFileKind::notRecognised);
    // Four bytes per colour, as tileset palettes hold them: above 768 bytes, not text.
    EXPECT_EQ(parsePaletteFile(bytesOf(std::string(1024, '\x10'))).kind,
              PaletteFileKind::notRecognised);
}

TEST(JascPalette, ShortFileRepeatsItsLastColourLine) {
    auto lines = greyLines();
    lines.resize(200);
    lines.push_back("1 2 3");
    std::string text = jascFile(lines);
    text.resize(text.size() - 2); // no line end after the last line
    const PaletteFile read = parsePaletteFile(bytesOf(text));
    ASSERT_EQ(read.kind, PaletteFileKind::jasc);
    EXPECT_EQ(read.palette.entries[199], Palette::colour(199, 199, 199));
    for (std::size_t i = 200; i < 256; ++i)
        EXPECT_EQ(read.palette.entries[i], Palette::colour(1, 2, 3)) << i;
}

TEST(JascPalette, LongLineContinuesAsTheNextLine) {
    auto lines = greyLines();
    // 127 characters end the first piece; the rest, " 7 8", is read as the next colour line.
    lines[0] = "1 2 " + std::string(123, '3') + " 7 8";
    lines.pop_back();
    const PaletteFile read = parsePaletteFile(bytesOf(jascFile(lines)));
    ASSERT_EQ(read.kind, PaletteFileKind::jasc);
    EXPECT_EQ(read.palette.entries[0], Palette::colour(1, 2, 85)); // 123 threes, modulo 256
    EXPECT_EQ(read.palette.entries[1], Palette::colour(0, 7, 8));
    EXPECT_EQ(read.palette.entries[2], Palette::colour(1, 1, 1));
}

TEST(JascNumber, DecimalConversionKeepsLow8Bits) {
    // 10^20 is a multiple of 256, so 10^20 - 1 keeps 255: no overflow on long digit runs.
    const std::pair<const char*, int> cases[] = {
        {"0", 0},       {"255", 255}, {"256", 0}, {"300", 44}, {"-1", 255},
        {"  \t12", 12}, {"+7", 7},    {"7x9", 7}, {"x", 0},    {"", 0},
        {"-", 0},       {"- 5", 0},   {"-0", 0},  {"-256", 0}, {"99999999999999999999", 255},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(jascNumber(text), expected) << '"' << text << '"';
}

TEST(NearestColour, LowestIndexWinsTiesAndMemoAgreesWithSearch) {
    std::array<std::uint32_t, 256> entries{};
    entries.fill(Palette::colour(200, 200, 200));
    entries[0] = Palette::colour(0, 0, 0);
    entries[3] = Palette::colour(100, 0, 0);
    entries[4] = Palette::colour(0, 100, 0); // as far from (60, 60, 0) as entry 3
    NearestColour nearest{Palette(entries)};
    EXPECT_EQ(nearest.match(0, 0, 0), 0);
    EXPECT_EQ(nearest.match(60, 60, 0), 3);
    EXPECT_EQ(nearest.match(60, 60, 0), 3);
    EXPECT_EQ(nearest.match(0, 90, 0), 4);
    EXPECT_EQ(nearest.match(5, 5, 0), 0); // black is an ordinary candidate
    EXPECT_EQ(nearest.match(190, 201, 200), 1);
    EXPECT_EQ(nearest.match(255, 255, 255), 1);

    NearestColour memoised{DefaultPalette};
    for (int i = 0; i < 3; ++i) {
        for (int c = 0; c < 256; c += 15) {
            const auto r = static_cast<std::uint8_t>(c);
            const auto g = static_cast<std::uint8_t>(255 - c);
            NearestColour fresh{DefaultPalette};
            EXPECT_EQ(memoised.match(r, g, 40), fresh.match(r, g, 40));
        }
    }
}

TEST(RealPalettes, RawFilesReadAsRaw) {
    const std::filesystem::path folder = "/work/shared/real-samples";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no real samples";
    int read = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (!hasPaletteName(file.path().string()))
            continue;
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const PaletteFile palette = parsePaletteFile(bytesOf(bytes));
        EXPECT_EQ(palette.kind, PaletteFileKind::raw) << file.path();
        // The built-in colours are the game's unit palette.
        if (file.path().filename() == "Units.pal") {
            EXPECT_EQ(palette.palette, DefaultPalette);
        }
        ++read;
    }
    EXPECT_GT(read, 0);
}

} // namespace
} // namespace pixmorph
