#pragma once
// A sprite sheet's picture: many frames in one PNG or BMP, read as palette indices and
// written as an indexed PNG or an uncompressed 8-bit BMP (the run-length writer keeps to a
// frame's 256 columns).

#include "core/bytes.h"
#include "core/palette.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pixmorph {

// The largest sheet read or written: within what a PNG decoder allocates without strain, and
// room for hundreds of full-sized frames.
inline constexpr int kMaxSheetSide = 32768;
inline constexpr std::size_t kMaxSheetPixels = std::size_t{32} << 20;

struct SheetPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices; // width x height, rows from the top
    std::string refusal;               // empty when the whole picture was read
};

// PNG or BMP by the file's first bytes; fileName is what a refusal names.
SheetPicture readSheetPicture(Bytes file, NearestColour& nearest, const std::string& fileName);

// An uncompressed 8-bit BMP of width x height indices, rows from the top `stride` bytes apart.
ByteVector encodeIndexedBmp(const std::uint8_t* indices, int width, int height, std::size_t stride,
                            const Palette& palette);

} // namespace pixmorph
