#pragma once
// Runs of bytes, found and stored a machine word at a time: the export's rows and the compile's
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

// Stores count copies of value, or copies count bytes, for the short runs a sprite's rows are
// made of (count below 64): a few word stores, which may overlap, instead of a library call
// or a string instruction whose start-up costs more than such a run.
inline void fillShortRun(std::uint8_t* to, std::uint8_t value, int count) {
    const std::uint64_t pattern = 0x0101010101010101ull * value;
    if (count >= 8) {
        for (int at = 0; at < count - 8; at += 8)
            std::memcpy(to + at, &pattern, 8);
        std::memcpy(to + count - 8, &pattern, 8);
    } else if (count >= 4) {
        std::memcpy(to, &pattern, 4);
        std::memcpy(to + count - 4, &pattern, 4);
    } else if (count >= 2) {
        std::memcpy(to, &pattern, 2);
        std::memcpy(to + count - 2, &pattern, 2);
    } else if (count == 1) {
        *to = value;
    }
}

inline void copyShortRun(std::uint8_t* to, const std::uint8_t* from, int count) {
    auto move = [to, from](int at, auto word) {
        std::memcpy(&word, from + at, sizeof word);
        std::memcpy(to + at, &word, sizeof word);
    };
    if (count >= 8) {
        for (int at = 0; at < count - 8; at += 8)
            move(at, std::uint64_t{});
        move(count - 8, std::uint64_t{});
    } else if (count >= 4) {
        move(0, std::uint32_t{});
        move(count - 4, std::uint32_t{});
    } else if (count >= 2) {
        move(0, std::uint16_t{});
        move(count - 2, std::uint16_t{});
    } else if (count == 1) {
        *to = *from;
    }
}

} // namespace pixmorph
