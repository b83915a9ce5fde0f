#pragma once
// Damaged and hostile inputs, laid out byte by byte in code: sprites, bitmaps, palettes and
// lists, each a small variation of a sound file.

#include "core/bytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pixmorph::test {

// One frame of a hand-laid sprite: its entry fields and one opcode stream per row.
struct LaidFrame {
    std::uint8_t x = 0, y = 0, width = 0, height = 0;
    std::vector<ByteVector> rows;
};

// Header, table, then each frame's row offsets and rows; every frame's data offset is where its
// data lands.
ByteVector laidSprite(std::uint16_t width, std::uint16_t height,
                      const std::vector<LaidFrame>& frames);

// A sound 16 x 8 sprite of two frames, whose second frame is drawn by every kind of opcode.
ByteVector soundSprite();

// The 54 header bytes of a bitmap (pixel data offset 54 unless given), then the data.
ByteVector laidBitmap(std::int32_t width, std::int32_t height, int bitCount,
                      std::uint32_t compression, const ByteVector& data,
                      std::uint32_t dataOffset = 54);

// A sound 4 x 3 RLE8 bitmap: rows 1 2 3 4 / 0 5 5 0 / 9 9 9 9 from the top.
ByteVector soundBitmap();

// A JASC palette: the header lines as given, then the colour lines.
std::string jascPalette(const std::string& first, const std::string& second,
                        const std::string& third, const std::vector<std::string>& colours);

// Colour line i of a sound JASC palette ("i 255-i i/2").
std::string jascColourLine(int i);

} // namespace pixmorph::test
