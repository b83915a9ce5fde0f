// The real files modders have, when they are at hand: the game's own uncompressed sprite and
// the run-length ones beside it, its tileset palettes and raw palettes.
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/palette.h"
#include "support/real_samples.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

TEST(RealSamples, SpriteEncodingsAndPaletteKinds) {
    const auto folder = test::realSamplesFolder();
    if (!folder)
        GTEST_SKIP() << "no real samples";
    for (const auto& item : std::filesystem::directory_iterator(*folder)) {
        const std::string extension = item.path().extension().string();
        if (extension != ".grp" && extension != ".wpe" && extension != ".pal")
            continue;
        SCOPED_TRACE(item.path());
        const FileReadResult read = readWholeFile(item.path().string());
        ASSERT_TRUE(read.ok());
        if (extension == ".grp") {
            EXPECT_EQ(detectSpriteEncoding(read.data), item.path().filename() == "icons.grp"
                                                           ? SpriteEncoding::uncompressed
                                                           : SpriteEncoding::runLength);
            continue;
        }
        const PaletteFile file = readPaletteFile(read.data, item.path().string());
        EXPECT_EQ(file.kind, extension == ".wpe" ? PaletteFileKind::tileset : PaletteFileKind::raw);
        if (extension == ".wpe") { // the pad byte is no colour
            EXPECT_EQ(file.palette.entries[1],
                      Palette::colour(read.data[4], read.data[5], read.data[6]));
        }
    }
}

} // namespace
} // namespace pixmorph
