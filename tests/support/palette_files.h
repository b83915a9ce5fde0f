#pragma once
// Palette files of every kind the readers take, laid out by hand from a list of colours.

#include "core/bytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pixmorph::test {

struct Rgb {
    std::uint8_t r, g, b;
};

inline ByteVector riffPalette(const std::vector<Rgb>& colours) {
    ByteVector data;
    appendU16(data, 0x0300);
    appendU16(data, static_cast<std::uint16_t>(colours.size()));
    for (const Rgb& c : colours)
        data.insert(data.end(), {c.r, c.g, c.b, 0});
    ByteVector file{'R', 'I', 'F', 'F'};
    appendU32(file, static_cast<std::uint32_t>(4 + 8 + data.size()));
    file.insert(file.end(), {'P', 'A', 'L', ' ', 'd', 'a', 't', 'a'});
    appendU32(file, static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

// entries of `stride` bytes (red, green, blue, then padding 0xAA), padded with black to count.
inline ByteVector colourTable(const std::vector<Rgb>& colours, std::size_t stride,
                              std::size_t count) {
    ByteVector file;
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb c = i < colours.size() ? colours[i] : Rgb{0, 0, 0};
        file.insert(file.end(), {c.r, c.g, c.b});
        file.resize(file.size() + stride - 3, 0xAA);
    }
    return file;
}

inline std::string gimpPalette(const std::vector<Rgb>& colours) {
    std::string text = "GIMP Palette\nName: units\r\nColumns: 16\n# a comment\n\n";
    for (const Rgb& c : colours)
        text += std::to_string(c.r) + " " + std::to_string(c.g) + "\t" + std::to_string(c.b) +
                "\tUntitled\n";
    return text;
}

// An 8-bit BMP of 1 x 1 pixel whose colour table holds the colours (blue, green, red, 0).
inline ByteVector bitmapWithPalette(const std::vector<Rgb>& colours) {
    const auto dataOffset = static_cast<std::uint32_t>(54 + 4 * colours.size());
    ByteVector file{'B', 'M'};
    for (const std::uint32_t field : {dataOffset + 4, 0u, dataOffset, 40u, 1u, 1u})
        appendU32(file, field);
    appendU16(file, 1), appendU16(file, 8);
    for (const std::uint32_t field : {0u, 4u, 0u, 0u, std::uint32_t(colours.size()), 0u})
        appendU32(file, field);
    for (const Rgb& c : colours)
        file.insert(file.end(), {c.b, c.g, c.r, 0});
    file.insert(file.end(), {0, 0, 0, 0});
    return file;
}

inline std::uint32_t crc32Of(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// An indexed PNG of 1 x 1 pixel with the colours as its PLTE; its pixel data is one stored
// (uncompressed) deflate block.
inline ByteVector pngWithPalette(const std::vector<Rgb>& colours) {
    ByteVector file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&file](const char* type, const ByteVector& data) {
        for (int shift = 24; shift >= 0; shift -= 8)
            file.push_back(static_cast<std::uint8_t>(data.size() >> shift));
        const std::size_t start = file.size();
        file.insert(file.end(), type, type + 4);
        file.insert(file.end(), data.begin(), data.end());
        const std::uint32_t crc = crc32Of(file.data() + start, file.size() - start);
        for (int shift = 24; shift >= 0; shift -= 8)
            file.push_back(static_cast<std::uint8_t>(crc >> shift));
    };
    chunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 3, 0, 0, 0});
    ByteVector plte;
    for (const Rgb& c : colours)
        plte.insert(plte.end(), {c.r, c.g, c.b});
    chunk("PLTE", plte);
    // zlib header, a final stored block of the 2 bytes "filter 0, index 0", its Adler-32.
    chunk("IDAT", {0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01});
    chunk("IEND", {});
    return file;
}

} // namespace pixmorph::test
