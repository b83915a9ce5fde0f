#pragma once
// PNG pictures read as palette indices: indexed pictures keep their indices, others have
// their colours matched to the palette (nearest colour, lowest index on ties, as for 24-bit
// bitmaps) and fully transparent pixels become index 0. Decoded from the bytes of the file,
// with libspng held to our caps on size and chunks.

#include "core/bytes.h"
#include "core/palette.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

// The eight bytes every PNG file starts with.
bool hasPngSignature(Bytes file);

// The largest picture a read accepts: each side, and the pixels in all.
struct PngLimits {
    std::uint32_t maxSide = 0;
    std::size_t maxPixels = 0;
};

enum class PngReadStatus {
    ok,
    tooLarge, // a side or the pixel count beyond the limits
    damaged,  // refused by the decoder; `error` holds its reason
};

struct PngIndices {
    PngReadStatus status = PngReadStatus::ok;
    int error = 0; // libspng's error code for damaged
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices; // width x height, rows from the top
};

PngIndices readPngIndices(Bytes file, NearestColour& nearest, const PngLimits& limits);

// The decoder's reason for a damaged picture, as a phrase.
std::string pngErrorText(int error);

} // namespace pixmorph
