#include "core/palette.h"
#include "core_test_files.h"
#include "support/palette_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace test;

const std::vector<Rgb> kColours = {{10, 20, 30}, {255, 128, 0}, {1, 2, 3}};

// The colours given, then black.
bool holdsTheColours(const Palette& palette) {
    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb c = i < kColours.size() ? kColours[i] : Rgb{0, 0, 0};
        if (palette.entries[i] != Palette::colour(c.r, c.g, c.b))
            return false;
    }
    return true;
}

TEST(PaletteKinds, EachKindByContentThenName) {
    ByteVector act772 = colourTable(kColours, 3, 256);
    act772.insert(act772.end(), {0, 3, 0xFF, 0xFF});
    std::vector<Rgb> all256 = kColours;
    all256.resize(256, Rgb{0, 0, 0});
    const struct {
        const char* name;
        ByteVector bytes;
        PaletteFileKind kind;
    } cases[] = {
        {"units.pal", riffPalette(kColours), PaletteFileKind::riff}, // short, yet not raw
        {"units.PAL", riffPalette(kColours), PaletteFileKind::riff}, // content decides
        {"a.act", colourTable(kColours, 3, 256), PaletteFileKind::act},
        {"a.ACT", act772, PaletteFileKind::act},
        {"ashworld.wpe", colourTable(kColours, 4, 256), PaletteFileKind::tileset},
        {"a.gpl", bytesOf(gimpPalette(kColours)), PaletteFileKind::gimp},
        {"a.bmp", bitmapWithPalette(kColours), PaletteFileKind::bitmap},
        {"picture.png", pngWithPalette(kColours), PaletteFileKind::png},
        {"a.pal", pngWithPalette(all256), PaletteFileKind::png}, // above 768, not JASC
    };
    for (const auto& c : cases) {
        const PaletteFile file = readPaletteFile(c.bytes, c.name);
        EXPECT_EQ(file.kind, c.kind) << c.name;
        EXPECT_TRUE(holdsTheColours(file.palette)) << c.name;
        EXPECT_TRUE(isPaletteFileName(c.name) || c.kind == PaletteFileKind::riff) << c.name;
    }
}

TEST(PaletteKinds, DamagedFilesAreNotRecognised) {
    ByteVector cutRiff = riffPalette(kColours);
    cutRiff.resize(cutRiff.size() - 1);
    ByteVector actCountZero = colourTable(kColours, 3, 256);
    actCountZero.insert(actCountZero.end(), {0, 0, 0, 0});
    ByteVector badCrc = pngWithPalette(kColours);
    badCrc[40] ^= 1; // inside the PLTE
    ByteVector trueColourBmp = bitmapWithPalette(kColours);
    trueColourBmp[28] = 24;
    const std::pair<const char*, ByteVector> cases[] = {
        {"a.pal", cutRiff},
        {"a.act", actCountZero},
        {"a.act", colourTable(kColours, 3, 255)},
        {"a.wpe", colourTable(kColours, 4, 255)},
        {"a.pal", colourTable(kColours, 4, 256)}, // 1024 bytes named .pal: as before
        {"a.pal", ByteVector(769, 'x')},          // past raw, and no other kind
        {"a.gpl", bytesOf(gimpPalette(kColours) + "1 2\n")},
        {"a.gpl", bytesOf(gimpPalette(std::vector<Rgb>(257, Rgb{1, 1, 1})))},
        {"a.png", badCrc},
        {"a.bmp", trueColourBmp},
    };
    for (const auto& [name, bytes] : cases) {
        const PaletteFile file = readPaletteFile(bytes, name);
        EXPECT_EQ(file.kind, PaletteFileKind::notRecognised) << name << " " << bytes.size();
        EXPECT_EQ(file.palette, DefaultPalette);
    }
}

// Names: "pal" exactly as before, the other extensions in any case.
TEST(PaletteKinds, NamesAndTheRawRulesKept) {
    for (const char* name : {"units.pal", "unitspal", "a.wpe", "A.WPE", "a.Gpl", "x.png"})
        EXPECT_TRUE(isPaletteFileName(name)) << name;
    for (const char* name : {"units.PAL", "a.txt", "wpe", "a.wpe.txt"})
        EXPECT_FALSE(isPaletteFileName(name)) << name;
    // A file of 768 bytes or less is raw: whole records, a part record, then black; a short
    // .pal stays raw even when it reads as GIMP text; JASC keeps its rules under any name.
    const PaletteFile raw = readPaletteFile(bytesOf("JASC\x04"), "a.pal");
    EXPECT_EQ(raw.kind, PaletteFileKind::raw);
    EXPECT_EQ(raw.palette.entries[0], Palette::colour('J', 'A', 'S'));
    EXPECT_EQ(raw.palette.entries[1], Palette::colour('C', 4, 0));
    EXPECT_EQ(raw.palette.entries[2], 0u);
    EXPECT_EQ(readPaletteFile(bytesOf(gimpPalette(kColours)), "a.pal").kind, PaletteFileKind::raw);
    std::string jasc = "JASC-PAL\r\n0100\r\n16\r\n";
    jasc.resize(900, '\n');
    EXPECT_EQ(readPaletteFile(bytesOf(jasc), "a.gpl").kind, PaletteFileKind::jascNot256);
}

// The given colour lines, then "9 9 9" up to 256 lines (always more than 768 bytes).
std::string jascFile(std::vector<std::string> lines) {
    std::string text = "JASC-PAL\r\n0100\r\n256\r\n";
    lines.resize(256, "9 9 9");
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

TEST(Palette, JascColourLines) {
    const std::vector<std::string> lines = {"255 128 0", "255 128 0 ", "300 -1 256",
                                            "  7   9",   "12 34",      "+5 x 99999999999999999999"};
    const PaletteFile read = readPaletteFile(bytesOf(jascFile(lines)), "a.pal");
    EXPECT_EQ(read.kind, PaletteFileKind::jasc);
    const std::uint32_t expected[] = {
        0x000080FF,                  // red in the low byte
        Palette::colour(255, 0, 0),  // split from the right: blue is empty
        Palette::colour(44, 255, 0), // low 8 bits
        Palette::colour(7, 0, 9),    // runs of blanks
        Palette::colour(0, 12, 34),  // missing parts are 0
        Palette::colour(5, 0, 255)}; // 10^20 - 1: 255 low
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(read.palette.entries[i], expected[i]) << i;
}

TEST(Palette, NearestColourLowestIndexWinsTies) {
    std::array<std::uint32_t, 256> entries{};
    entries.fill(Palette::colour(200, 200, 200));
    entries[0] = 0;
    entries[3] = Palette::colour(100, 0, 0);
    entries[4] = Palette::colour(0, 100, 0);
    NearestColour nearest{Palette(entries)};
    EXPECT_EQ(nearest.match(60, 60, 0), 3);
    EXPECT_EQ(nearest.match(5, 5, 0), 0);
    EXPECT_EQ(nearest.match(255, 255, 255), 1);
}

} // namespace
} // namespace pixmorph
