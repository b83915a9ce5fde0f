// Exported pictures read back by our own reader and by another decoder (Pillow), so that they
// mean to other software what they mean to us.
#include "bmp_test_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace pixmorph {
namespace {

const std::string kPython = "/usr/bin/python3";

bool pillowAvailable() {
    return std::filesystem::exists(kPython) &&
           std::system((kPython + " -c 'import PIL.BmpImagePlugin' 2>/dev/null").c_str()) == 0;
}

// Per file: "mode width height", the indices from the top row, the palette's 768 values.
std::string pillowDecode(const std::vector<std::string>& paths) {
    std::string command = kPython + " " PIXMORPH_SOURCE_DIR "/tests/tools/bmp_indices.py";
    for (const auto& path : paths)
        command += " '" + path + "'";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

TEST(BmpWrite, ReadBackByUsAndByPillow) {
    const std::pair<int, int> sizes[] = {{1, 1},   {3, 2},   {255, 255}, {256, 256},
                                         {1, 256}, {256, 1}, {13, 40},   {254, 3}};
    std::vector<test::Picture> pictures;
    std::vector<std::string> paths;
    for (const auto& [width, height] : sizes) {
        test::Picture& picture =
            pictures.emplace_back(test::runsPicture(width, height, width + height));
        const ByteVector file =
            encodeFrameBmp(test::canvasOf(picture), DefaultPalette, width, height);
        IndexImage image;
        EXPECT_EQ(test::readPicture(file, image).status, BmpReadStatus::ok);
        int mismatches = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                mismatches += image.at(x, y) != picture.at(x, y);
        }
        EXPECT_EQ(mismatches, 0) << width << " x " << height;

        paths.push_back(testing::TempDir() + "pixmorph_" + std::to_string(width) + "x" +
                        std::to_string(height) + ".bmp");
        std::ofstream(paths.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()),
                   static_cast<std::streamsize>(file.size()));
    }
    if (!pillowAvailable())
        GTEST_SKIP() << "no Pillow for " << kPython;

    std::istringstream output(pillowDecode(paths));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        std::string mode;
        int width = 0, height = 0, mismatches = 0;
        ASSERT_TRUE(output >> mode >> width >> height);
        EXPECT_EQ(mode, "P");
        ASSERT_EQ(width * height, static_cast<int>(pictures[i].pixels.size()));
        for (const int expected : pictures[i].pixels) {
            int index = -1;
            output >> index;
            mismatches += index != expected;
        }
        for (const std::uint32_t colour : DefaultPalette.entries) {
            int red = -1, green = -1, blue = -1;
            output >> red >> green >> blue;
            mismatches += colour != Palette::colour(red, green, blue);
        }
        EXPECT_EQ(mismatches, 0);
        std::filesystem::remove(paths[i]);
    }
}

} // namespace
} // namespace pixmorph
