#pragma once
// Pictures for the BMP tests: palette indices by row and column, the canvas the export would
// decode them into, and hand-laid BMP files for the reader.

#include "core/bmp_file.h"

#include <cstdint>
#include <vector>

namespace pixmorph::test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // row by row from the top

    Picture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}
    std::uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Picture row t goes to canvas row t + 1.
inline ExportCanvas canvasOf(Picture& picture) {
    ExportCanvas canvas;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x)
            canvas.set(x, y + 1, picture.at(x, y));
    }
    return canvas;
}

// Sprite-like content: transparent and coloured runs of varied lengths, now and then long
// enough for pairs of 254 and transparent runs to the edge.
inline Picture runsPicture(int width, int height, std::uint32_t seed) {
    Picture picture(width, height);
    auto random = [state = seed * 2654435761u + 1]() mutable {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    int left = 0;
    std::uint8_t value = 0;
    for (auto& pixel : picture.pixels) {
        if (left == 0) {
            left = 1 + static_cast<int>(random() % (random() % 8 == 0 ? 300 : 6));
            value = random() % 3 == 0 ? 0 : static_cast<std::uint8_t>(random());
        }
        pixel = value;
        --left;
    }
    return picture;
}

// Entry i has red i, so every colour is one entry's own.
inline Palette distinctPalette() {
    std::array<std::uint32_t, 256> entries{};
    for (int i = 0; i < 256; ++i)
        entries[i] = Palette::colour(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7),
                                     static_cast<std::uint8_t>(255 - i));
    return Palette(entries);
}

inline BmpReadResult readPicture(const ByteVector& file, IndexImage& image) {
    NearestColour nearest(distinctPalette());
    return readBmp(file, nearest, image);
}

// The 54 header bytes and the pixel data right after them.
inline ByteVector handLaidBmp(std::int32_t width, std::int32_t height, int bitCount,
                              std::uint32_t compression, const ByteVector& data) {
    ByteVector file{'B', 'M'};
    for (const std::uint32_t field : {std::uint32_t(54 + data.size()), 0u, 54u, 40u,
                                      std::uint32_t(width), std::uint32_t(height)})
        appendU32(file, field);
    appendU16(file, 1);
    appendU16(file, static_cast<std::uint16_t>(bitCount));
    for (const std::uint32_t field : {compression, std::uint32_t(data.size()), 0u, 0u, 0u, 0u})
        appendU32(file, field);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

} // namespace pixmorph::test
