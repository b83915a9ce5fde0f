// Palettes that are bare colour tables of a fixed size: Adobe .act and the game's tileset .wpe.
#include "core/palette_kinds.h"

namespace pixmorph::palette_kinds {

namespace {

constexpr std::size_t kColours = 256;

// count entries of `stride` bytes, red, green and blue first; the rest black.
Palette readTable(Bytes data, std::size_t stride, std::size_t count) {
    std::array<std::uint32_t, 256> entries{};
    for (std::size_t i = 0; i < count; ++i)
        entries[i] = Palette::colour(data[stride * i], data[stride * i + 1], data[stride * i + 2]);
    return Palette(entries);
}

} // namespace

std::optional<Palette> readAct(Bytes data) {
    if (data.size() == 3 * kColours)
        return readTable(data, 3, kColours);
    if (data.size() != 3 * kColours + 4)
        return std::nullopt;
    const std::size_t count = std::size_t{data[768]} << 8 | data[769];
    if (count < 1 || count > kColours)
        return std::nullopt;
    return readTable(data, 3, count);
}

std::optional<Palette> readTileset(Bytes data) {
    if (data.size() != 4 * kColours)
        return std::nullopt;
    return readTable(data, 4, kColours);
}

} // namespace pixmorph::palette_kinds
