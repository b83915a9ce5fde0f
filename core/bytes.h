#pragma once
// Byte buffers and bounded little-endian access. Every reader in the system works on the
// bytes of a file held in memory and asks here for each field, so no read can pass the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pixmorph {

using Bytes = std::span<const std::uint8_t>;
using ByteVector = std::vector<std::uint8_t>;

inline std::optional<std::uint8_t> readU8(Bytes bytes, std::size_t offset) {
    if (offset >= bytes.size())
        return std::nullopt;
    return bytes[offset];
}

inline std::optional<std::uint16_t> readU16(Bytes bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2)
        return std::nullopt;
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::optional<std::uint32_t> readU32(Bytes bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return std::nullopt;
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

inline void appendU16(ByteVector& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(ByteVector& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

// Overwrites a field already in the buffer (the "seek back and write the real value" step).
inline void putU16(ByteVector& out, std::size_t offset, std::uint16_t value) {
    out.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
    out.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32(ByteVector& out, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.at(offset + i) = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

} // namespace pixmorph
