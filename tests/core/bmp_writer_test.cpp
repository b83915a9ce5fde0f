#include "core/byte_runs.h"
#include "core_test_files.h"
#include "support/job_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace pixmorph {
namespace {

using test::canvasOf;

ByteVector pixelData(const ByteVector& file) {
    return ByteVector(file.begin() + 1078, file.end());
}

std::vector<int> repeated(int count, int value, std::vector<int> then = {}) {
    std::vector<int> cells(count, value);
    cells.insert(cells.end(), then.begin(), then.end());
    return cells;
}

TEST(BmpWrite, PairRulesOfOneRow) {
    struct Case {
        int width;
        std::vector<int> cells; // from column 0, past the width too
        ByteVector row;         // before the row's end code
    };
    ByteVector transparent256;
    for (int i = 0; i < 128; ++i)
        transparent256.insert(transparent256.end(), {2, 0});
    const Case cases[] = {
        {3, {5}, {1, 5, 2, 0, 2, 0}},
        {3, {0, 0, 5}, {2, 0, 1, 5}},
        {4, {}, {4, 0, 2, 0}},
        {255, {}, {255, 0, 1, 0}},
        {256, {}, transparent256},
        {1, {200}, {1, 200}},
        {4, {0, 0, 0, 5}, {2, 0, 1, 0, 1, 5}},
        {8, {0, 0, 0, 0, 0, 0, 9, 9}, {2, 0, 2, 0, 2, 0, 2, 9}},
        {256, repeated(256, 7), {254, 7, 2, 7}},
        {255, repeated(255, 7), {254, 7, 1, 7}},
        {256, repeated(255, 7, {8}), {254, 7, 1, 7, 1, 8}},
        {3, {1, 1, 1, 1, 1}, {5, 1}}, // coloured runs are not cut at the width
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width << ", " << c.cells.size());
        ExportCanvas canvas;
        for (std::size_t column = 0; column < c.cells.size(); ++column)
            canvas.set(static_cast<int>(column), 1, static_cast<std::uint8_t>(c.cells[column]));
        ByteVector expected = c.row;
        expected.insert(expected.end(), {0, 1}); // the only row ends the picture
        EXPECT_EQ(pixelData(encodeFrameBmp(canvas, DefaultPalette, c.width, 1)), expected);
    }
}

// Runs are found a word at a time: every length and start around the word's edges, stopped by
// a different byte or by the end given.
TEST(ByteRuns, EveryLengthStartAndEnd) {
    for (int from = 0; from < 9; ++from)
        for (int length = 0; length < 20; ++length)
            for (int limit = from; limit <= from + 20; ++limit) {
                std::vector<std::uint8_t> cells(48, 3);
                std::fill_n(cells.begin() + from, length, std::uint8_t{9});
                EXPECT_EQ(byteRunLength(cells.data(), from, limit, 9),
                          std::min(length, limit - from))
                    << from << " " << length << " " << limit;
            }
}

TEST(BmpWrite, WholeFile) {
    IndexImage picture;
    picture.set(0, 0, 5);
    picture.set(2, 1, 7);
    const ByteVector file = encodeFrameBmp(canvasOf(picture, 3, 2), DefaultPalette, 3, 2);
    // 1092 bytes, pixels at 1078; 3 x 2, 8 bits, RLE8 of 14 bytes, 72 dpi, 256 colours.
    ByteVector headers{'B', 'M'};
    for (const std::uint32_t field : {1092, 0, 1078, 40, 3, 2})
        appendU32(headers, field);
    appendU16(headers, 1);
    appendU16(headers, 8);
    for (const std::uint32_t field : {1, 14, 2834, 2834, 256, 256})
        appendU32(headers, field);
    ASSERT_EQ(file.size(), 1092u);
    EXPECT_EQ(ByteVector(file.begin(), file.begin() + 54), headers);
    // Palette entries as blue, green, red, 0: entry 1 is 2323FF.
    EXPECT_EQ(ByteVector(file.begin() + 58, file.begin() + 62), (ByteVector{0xFF, 0x23, 0x23, 0}));
    // Bottom row first; 00 00 ends a row, 00 01 the top row.
    EXPECT_EQ(pixelData(file), (ByteVector{2, 0, 1, 7, 0, 0, 1, 5, 2, 0, 2, 0, 0, 1}));
    EXPECT_TRUE(encodeFrameBmp(ExportCanvas(), DefaultPalette, 0, 5).empty());
    EXPECT_TRUE(encodeFrameBmp(ExportCanvas(), DefaultPalette, 5, 257).empty());

    // The bottom row of a 256-row picture lies on the canvas's sentinel row: undrawn is clear.
    ExportCanvas tall;
    tall.set(1, 256, 3);
    tall.set(2, 256, 3);
    const ByteVector data = pixelData(encodeFrameBmp(tall, DefaultPalette, 4, 256));
    EXPECT_EQ(ByteVector(data.begin(), data.begin() + 10),
              (ByteVector{1, 0, 2, 3, 1, 0, 2, 0, 0, 0}));
}

TEST(ExportCanvas, FramesPlacedFromRowOneAndOverflowsNoticed) {
    // A 10 x 5 frame at (3, 4) in a 64 x 64 sprite: picture columns 3-12, rows 4-8.
    const ByteVector row = {0x4A, 6};
    const ByteVector file =
        test::handLaidSprite(64, 64, {{3, 4, 10, 5, {row, row, row, row, row}}});
    ExportCanvas canvas;
    canvas.set(0, 1, 99); // cleared by the decode
    EXPECT_EQ(decodeFrameForExport(file, *readFrameEntry(file, 0), canvas), DecodeStatus::complete);
    int misplaced = 0;
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y)
            misplaced += canvas.at(x, y + 1) != (x >= 3 && x <= 12 && y >= 4 && y <= 8 ? 6 : 0);
    EXPECT_EQ(misplaced, 0);

    const std::pair<test::HandFrame, bool> frames[] = {
        {{255, 0, 2, 1, {{0x02, 5, 5}}}, true},         // one column too far
        {{255, 255, 1, 1, {{0x01, 5}}}, false},         // the last pixel of the canvas
        {{0, 255, 1, 2, {{0x01, 5}, {0x01, 5}}}, true}, // one row too far
        {{250, 0, 2, 1, {{0x4A, 5}}}, true},            // a run past the frame's width
    };
    for (const auto& [frame, overflows] : frames) {
        SCOPED_TRACE(::testing::Message() << int(frame.x) << ", " << int(frame.y));
        const ByteVector sprite = test::handLaidSprite(256, 256, {frame});
        decodeFrameForExport(sprite, *readFrameEntry(sprite, 0), canvas);
        EXPECT_EQ(canvas.overflowed(), overflows);
        EXPECT_EQ(canvas.at(256, 1), ExportCanvas::kSentinel);
    }
}

// Exported pictures read back by our own reader and by another decoder (Pillow), so that they
// mean to other software what they mean to us.
TEST(BmpWrite, ReadBackByUsAndByPillow) {
    const std::pair<int, int> sizes[] = {{1, 1},   {3, 2},   {255, 255}, {256, 256},
                                         {1, 256}, {256, 1}, {13, 40},   {254, 3}};
    std::vector<IndexImage> pictures;
    testing::ScratchDir folder;
    std::string command = "/usr/bin/python3 " PIXMORPH_SOURCE_DIR "/tests/tools/bmp_indices.py";
    for (const auto& [width, height] : sizes) {
        const IndexImage& picture =
            pictures.emplace_back(test::runsPicture(width, height, width + height));
        const ByteVector file =
            encodeFrameBmp(canvasOf(picture, width, height), DefaultPalette, width, height);
        IndexImage image;
        EXPECT_EQ(test::readPicture(file, image).status, BmpReadStatus::ok);
        EXPECT_TRUE(image == picture) << width << " x " << height;
        command +=
            " '" + folder.write(std::to_string(width) + "x" + std::to_string(height), file) + "'";
    }
    if (std::system("/usr/bin/python3 -c 'import PIL.BmpImagePlugin' 2>/dev/null") != 0)
        GTEST_SKIP() << "no Pillow";

    // Per file: "mode width height", the indices from the top row, the palette's 768 values.
    std::string decoded;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            decoded.append(buffer, got);
        pclose(pipe);
    }
    std::istringstream output(decoded);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const auto [width, height] = sizes[i];
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        std::string mode;
        int readWidth = 0, readHeight = 0, mismatches = 0, index = -1, red, green, blue;
        ASSERT_TRUE(output >> mode >> readWidth >> readHeight);
        EXPECT_EQ(std::tie(mode, readWidth, readHeight),
                  std::make_tuple(std::string("P"), width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                mismatches += !(output >> index) || index != int(pictures[i].at(x, y));
        for (const std::uint32_t colour : DefaultPalette.entries)
            mismatches +=
                !(output >> red >> green >> blue) || colour != Palette::colour(red, green, blue);
        EXPECT_EQ(mismatches, 0);
    }
}

} // namespace
} // namespace pixmorph
