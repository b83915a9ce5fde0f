#include "core/file_io.h"
#include "core/palette.h"
#include "support/palette_files.h"
#include "support/real_samples.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace test;

const std::vector<Rgb> kColours = {{10, 20, 30}, {255, 128, 0}, {1, 2, 3}};

ByteVector bytesOf(const std::string& text) {
    return ByteVector(text.begin(), text.end());
}

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
    // A short .pal stays raw even when it reads as GIMP text; JASC keeps its rules under any
    // accepted name.
    EXPECT_EQ(readPaletteFile(bytesOf(gimpPalette(kColours)), "a.pal").kind, PaletteFileKind::raw);
    std::string jasc = "JASC-PAL\r\n0100\r\n16\r\n";
    jasc.resize(900, '\n');
    EXPECT_EQ(readPaletteFile(bytesOf(jasc), "a.gpl").kind, PaletteFileKind::jascNot256);
}

TEST(PaletteKinds, RealSamples) {
    const auto folder = realSamplesFolder();
    if (!folder)
        GTEST_SKIP() << "no real samples";
    for (const auto& item : std::filesystem::directory_iterator(*folder)) {
        const std::string extension = item.path().extension().string();
        if (extension != ".wpe" && extension != ".pal")
            continue;
        const FileReadResult read = readWholeFile(item.path().string());
        ASSERT_TRUE(read.ok());
        const PaletteFile file = readPaletteFile(read.data, item.path().string());
        EXPECT_EQ(file.kind, extension == ".wpe" ? PaletteFileKind::tileset : PaletteFileKind::raw)
            << item.path();
        if (extension == ".wpe") { // the pad byte is no colour
            EXPECT_EQ(file.palette.entries[1],
                      Palette::colour(read.data[4], read.data[5], read.data[6]));
        }
    }
}

} // namespace
} // namespace pixmorph
