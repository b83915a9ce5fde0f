// The colour table of a BMP picture of 1 to 8 bits a pixel.
#include "core/palette_kinds.h"

namespace pixmorph::palette_kinds {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12; // the oldest header: 16-bit sizes, 3-byte entries

} // namespace

bool hasBitmapSignature(Bytes data) {
    const auto headerSize = readU32(data, kFileHeaderSize);
    return data.size() >= 2 && data[0] == 'B' && data[1] == 'M' && headerSize &&
           (*headerSize == kCoreHeaderSize || (*headerSize >= 40 && *headerSize <= 124));
}

std::optional<Palette> readBitmap(Bytes data) {
    if (!hasBitmapSignature(data))
        return std::nullopt;
    const std::size_t headerSize = *readU32(data, kFileHeaderSize);
    const bool core = headerSize == kCoreHeaderSize;
    const auto bitCount = readU16(data, kFileHeaderSize + (core ? 10 : 14));
    if (!bitCount || *bitCount < 1 || *bitCount > 8)
        return std::nullopt;
    std::size_t count = std::size_t{1} << *bitCount;
    if (!core) {
        const auto used = readU32(data, kFileHeaderSize + 32);
        if (!used || *used > count)
            return std::nullopt;
        if (*used != 0)
            count = *used;
    }
    const std::size_t stride = core ? 3 : 4;
    const std::size_t table = kFileHeaderSize + headerSize;
    if (table > data.size() || (data.size() - table) / stride < count)
        return std::nullopt;
    // Entries are blue, green, red (and a reserved byte).
    std::array<std::uint32_t, 256> entries{};
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = table + stride * i;
        entries[i] = Palette::colour(data[at + 2], data[at + 1], data[at]);
    }
    return Palette(entries);
}

} // namespace pixmorph::palette_kinds
