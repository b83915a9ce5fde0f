#pragma once
// Runs of equal bytes, found a machine word at a time: the export's rows and the compile's
// frame rows are mostly long runs, and a step per cell was most of their cost.

#include <bit>
#include <cstdint>
#include <cstring>

namespace pixmorph {

// How many bytes from cells[from] on equal value, looking at cells[from] to cells[end - 1] only.
inline int byteRunLength(const std::uint8_t* cells, int from, int end, std::uint8_t value) {
    static_assert(std::endian::native == std::endian::little ||
                  std::endian::native == std::endian::big);
    const std::uint64_t pattern = 0x0101010101010101ull * value;
    int at = from;
    for (; end - at >= 8; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, cells + at, sizeof word);
        if (const std::uint64_t differs = word ^ pattern; differs != 0) {
            const int equal = std::endian::native == std::endian::little
                                  ? std::countr_zero(differs)
                                  : std::countl_zero(differs);
            return at + equal / 8 - from;
        }
    }
    while (at < end && cells[at] == value)
        ++at;
    return at - from;
}

} // namespace pixmorph
