#include "core/png_writer.h"

#include <cstdlib>
#include <memory>
#include <spng.h>

namespace pixmorph {
namespace {

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

bool describe(spng_ctx* context, int width, int height, const Palette& palette) {
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_plte colours{};
    colours.n_entries = 256;
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint32_t colour = palette.entries[i];
        colours.entries[i] = {Palette::red(colour), Palette::green(colour), Palette::blue(colour),
                              0};
    }
    // Only index 0 is see-through; a tRNS shorter than the palette leaves the rest opaque.
    spng_trns transparency{};
    transparency.n_type3_entries = 1;
    transparency.type3_alpha[0] = 0;
    return spng_set_ihdr(context, &header) == 0 && spng_set_plte(context, &colours) == 0 &&
           spng_set_trns(context, &transparency) == 0 &&
           spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1) == 0 &&
           // Filters rarely pay on palette indices, and skipping them is faster.
           spng_set_option(context, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE) == 0;
}

} // namespace

ByteVector encodeIndexedPng(const std::uint8_t* indices, int width, int height, std::size_t stride,
                            const Palette& palette) {
    if (width < 1 || height < 1)
        return {};
    const Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context || !describe(context.get(), width, height, palette) ||
        spng_encode_image(context.get(), nullptr, 0, SPNG_FMT_PNG,
                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) != 0)
        return {};
    // The rows are handed over where they lie, so a frame is never copied into a buffer of
    // its own.
    for (int y = 0; y < height; ++y) {
        const int status =
            spng_encode_row(context.get(), indices + y * stride, static_cast<std::size_t>(width));
        if (status != 0 && !(status == SPNG_EOI && y == height - 1))
            return {};
    }
    std::size_t size = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(context.get(), &size, &error);
    if (!buffer || error != 0)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    ByteVector out(bytes, bytes + size);
    std::free(buffer);
    return out;
}

ByteVector encodeFramePng(const ExportCanvas& canvas, const Palette& palette, int width,
                          int height) {
    if (width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize)
        return {};
    // Rows the frame did not reach are 0 throughout, as the bitmap writer relies on too.
    return encodeIndexedPng(canvas.row(1), width, height, ExportCanvas::kColumns, palette);
}

} // namespace pixmorph
