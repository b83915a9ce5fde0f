#pragma once
// Sound files that the damaged inputs are small variations of, laid out byte by byte in code.

#include "core/bytes.h"

#include <string>
#include <vector>

namespace pixmorph::test {

// A 16 x 8 sprite of two frames, whose second frame is drawn by every kind of opcode.
ByteVector soundSprite();

// A 4 x 3 RLE8 bitmap: rows 1 2 3 4 / 0 5 5 0 / 9 9 9 9 from the top.
ByteVector soundBitmap();

// A JASC palette: the three header lines as given, then the colour lines.
std::string jascPalette(const std::string& first, const std::string& second,
                        const std::string& third, const std::vector<std::string>& colours);

// The first count colour lines of a sound JASC palette: line i is "i 255-i i/2".
std::vector<std::string> jascColourLines(int count);

} // namespace pixmorph::test
