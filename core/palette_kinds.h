#pragma once
// The readers of the palette kinds beside raw and JASC, one file each. Each takes the whole
// file and gives the palette it holds, or nullopt when the file is not sound; none reads past
// the data given.

#include "core/palette.h"

#include <optional>

namespace pixmorph::palette_kinds {

// "RIFF" size "PAL " and then chunks; the "data" chunk holds a version, a count and
// red, green, blue, flags per entry.
bool hasRiffSignature(Bytes data);
std::optional<Palette> readRiff(Bytes data);

// 768 bytes of red, green, blue; or 772, the last four a big-endian count (1 to 256) and a
// transparent index. Entries past the count are black.
std::optional<Palette> readAct(Bytes data);

// 1024 bytes: 256 x red, green, blue, pad.
std::optional<Palette> readTileset(Bytes data);

// "GIMP Palette" first line; "Name:" and "Columns:" lines, comments and blank lines; up to 256
// lines of red, green and blue (0 to 255) and an optional colour name.
bool hasGimpSignature(Bytes data);
std::optional<Palette> readGimp(Bytes data);

// "BM" and an information header of a picture of 1 to 8 bits a pixel; its colour table.
bool hasBitmapSignature(Bytes data);
std::optional<Palette> readBitmap(Bytes data);

// The PNG signature; the PLTE of an indexed picture.
bool hasPngSignature(Bytes data);
std::optional<Palette> readPng(Bytes data);

} // namespace pixmorph::palette_kinds
