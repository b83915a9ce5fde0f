// RIFF palettes: "RIFF" size "PAL ", then chunks, of which "data" holds the colours.
#include "core/palette_kinds.h"

#include <algorithm>
#include <cstring>

namespace pixmorph::palette_kinds {

namespace {

bool tagAt(Bytes data, std::size_t at, const char (&tag)[5]) {
    return at <= data.size() && data.size() - at >= 4 && std::memcmp(data.data() + at, tag, 4) == 0;
}

} // namespace

bool hasRiffSignature(Bytes data) {
    return tagAt(data, 0, "RIFF") && tagAt(data, 8, "PAL ");
}

std::optional<Palette> readRiff(Bytes data) {
    if (!hasRiffSignature(data))
        return std::nullopt;
    // The chunks end where the RIFF size says, or at the end of the file if that comes first.
    const std::size_t end = std::min<std::size_t>(data.size(), 8 + std::size_t{*readU32(data, 4)});
    std::size_t at = 12;
    while (at + 8 <= end) {
        const std::size_t size = *readU32(data, at + 4);
        const std::size_t body = at + 8;
        if (size > end - body)
            return std::nullopt;
        if (tagAt(data, at, "data")) {
            const std::size_t count = size >= 4 ? *readU16(data, body + 2) : 0;
            if (size < 4 || count > 256 || (size - 4) / 4 < count)
                return std::nullopt;
            std::array<std::uint32_t, 256> entries{};
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t entry = body + 4 + 4 * i;
                entries[i] = Palette::colour(data[entry], data[entry + 1], data[entry + 2]);
            }
            return Palette(entries);
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace pixmorph::palette_kinds
