#include "core/png_reader.h"

#include "core/file_io.h"

#include <algorithm>
#include <array>
#include <memory>
#include <spng.h>

namespace pixmorph {
namespace {

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

PngIndices damaged(int error) {
    PngIndices result;
    result.status = PngReadStatus::damaged;
    result.error = error;
    return result;
}

// Indexed pictures of 1, 2 or 4 bits pack several pixels to a byte, the leftmost in the high
// bits; rows start on a byte.
void unpackIndices(const ByteVector& packed, int bitDepth, PngIndices& picture) {
    const std::size_t width = static_cast<std::size_t>(picture.width);
    const std::size_t rowBytes = (width * bitDepth + 7) / 8;
    const int perByte = 8 / bitDepth;
    const unsigned mask = (1u << bitDepth) - 1;
    for (std::size_t y = 0; y < static_cast<std::size_t>(picture.height); ++y) {
        const std::uint8_t* row = packed.data() + y * rowBytes;
        std::uint8_t* out = picture.indices.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            const int shift = 8 - bitDepth * (1 + static_cast<int>(x % perByte));
            out[x] = static_cast<std::uint8_t>((row[x / perByte] >> shift) & mask);
        }
    }
}

int decodeIndexed(spng_ctx* context, int bitDepth, PngIndices& picture) {
    std::size_t size = 0;
    if (const int error = spng_decoded_image_size(context, SPNG_FMT_PNG, &size))
        return error;
    if (bitDepth == 8 && size == picture.indices.size())
        return spng_decode_image(context, picture.indices.data(), size, SPNG_FMT_PNG, 0);
    ByteVector packed(size);
    if (const int error = spng_decode_image(context, packed.data(), size, SPNG_FMT_PNG, 0))
        return error;
    unpackIndices(packed, bitDepth, picture);
    return 0;
}

int decodeColours(spng_ctx* context, NearestColour& nearest, PngIndices& picture) {
    std::size_t size = 0;
    if (const int error = spng_decoded_image_size(context, SPNG_FMT_RGBA8, &size))
        return error;
    ByteVector rgba(size);
    // The transparency a grey or true-colour picture names by a key colour counts as alpha 0.
    if (const int error =
            spng_decode_image(context, rgba.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS))
        return error;
    for (std::size_t i = 0; i < picture.indices.size(); ++i) {
        const std::uint8_t* pixel = rgba.data() + 4 * i;
        picture.indices[i] = pixel[3] == 0 ? 0 : nearest.match(pixel[0], pixel[1], pixel[2]);
    }
    return 0;
}

} // namespace

bool hasPngSignature(Bytes file) {
    return file.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

PngIndices readPngIndices(Bytes file, NearestColour& nearest, const PngLimits& limits) {
    const Context context(spng_ctx_new(0));
    if (!context)
        return damaged(SPNG_EMEM);
    // libspng's own checks stop at the same sides as ours, and no chunk may claim more than a
    // file the program reads at all.
    spng_set_image_limits(context.get(), limits.maxSide, limits.maxSide);
    spng_set_chunk_limits(context.get(), kMaxWholeFileSize, kMaxWholeFileSize);
    if (const int error = spng_set_png_buffer(context.get(), file.data(), file.size()))
        return damaged(error);
    spng_ihdr header{};
    if (const int error = spng_get_ihdr(context.get(), &header)) {
        PngIndices result = damaged(error);
        if (error == SPNG_EUSER_WIDTH || error == SPNG_EUSER_HEIGHT)
            result.status = PngReadStatus::tooLarge;
        return result;
    }
    PngIndices picture;
    picture.width = static_cast<int>(header.width);
    picture.height = static_cast<int>(header.height);
    const std::size_t pixels = std::size_t{header.width} * header.height;
    if (pixels > limits.maxPixels) {
        picture.status = PngReadStatus::tooLarge;
        return picture;
    }
    picture.indices.resize(pixels);
    const int error = header.color_type == SPNG_COLOR_TYPE_INDEXED
                          ? decodeIndexed(context.get(), header.bit_depth, picture)
                          : decodeColours(context.get(), nearest, picture);
    if (error)
        return damaged(error);
    return picture;
}

std::string pngErrorText(int error) {
    return spng_strerror(error);
}

} // namespace pixmorph
