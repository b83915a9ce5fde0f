#pragma once
// PNG pictures written for editors that show transparency: indexed 8-bit, the palette as PLTE
// and index 0 fully transparent through tRNS, so a frame opens as the game draws it.

#include "core/bmp_file.h"
#include "core/bytes.h"
#include "core/palette.h"

#include <cstddef>
#include <cstdint>

namespace pixmorph {

// The PNG of width x height indices, rows from the top, `stride` bytes apart. Empty when a
// side is 0 or the encoder fails (it only fails for lack of memory).
ByteVector encodeIndexedPng(const std::uint8_t* indices, int width, int height, std::size_t stride,
                            const Palette& palette);

// One export frame as a PNG: the same picture the frame's bitmap holds (canvas rows 1 to
// height, columns 0 to width - 1). Empty for the sizes encodeFrameBmp refuses.
ByteVector encodeFramePng(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height);

} // namespace pixmorph
