// The PLTE of an indexed PNG, through libspng (which checks the chunks' lengths and CRCs).
#include "core/palette_kinds.h"

#include <cstring>
#include <memory>
#include <spng.h>

namespace pixmorph::palette_kinds {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kIndexedColour = 3;
// The palette comes before the pixel data; no chunk a palette needs is larger.
constexpr std::size_t kChunkLimit = 1u << 20;

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

} // namespace

bool hasPngSignature(Bytes data) {
    return data.size() >= sizeof kSignature &&
           std::memcmp(data.data(), kSignature, sizeof kSignature) == 0;
}

std::optional<Palette> readPng(Bytes data) {
    if (!hasPngSignature(data))
        return std::nullopt;
    const std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(0));
    if (!context || spng_set_chunk_limits(context.get(), kChunkLimit, kChunkLimit) != 0 ||
        spng_set_png_buffer(context.get(), data.data(), data.size()) != 0)
        return std::nullopt;
    spng_ihdr header{};
    spng_plte plte{};
    if (spng_get_ihdr(context.get(), &header) != 0 || header.color_type != kIndexedColour ||
        spng_get_plte(context.get(), &plte) != 0 || plte.n_entries > 256)
        return std::nullopt;
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t i = 0; i < plte.n_entries; ++i)
        entries[i] =
            Palette::colour(plte.entries[i].red, plte.entries[i].green, plte.entries[i].blue);
    return Palette(entries);
}

} // namespace pixmorph::palette_kinds
