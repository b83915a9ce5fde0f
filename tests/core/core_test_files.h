#pragma once
// Hand-laid sprite and BMP files, and pictures to feed the writers.

#include "core/bmp_file.h"
#include "core/grp_format.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph::test {

inline ByteVector bytesOf(std::string_view text) {
    return ByteVector(text.begin(), text.end());
}

struct HandFrame {
    std::uint8_t x, y, width, height;
    std::vector<ByteVector> rows; // one opcode stream per row
};

// Header, table (no maker tag), then each frame's row offsets and rows.
inline ByteVector handLaidSprite(std::uint16_t width, std::uint16_t height,
                                 const std::vector<HandFrame>& frames) {
    ByteVector file;
    for (std::uint16_t field : {static_cast<std::uint16_t>(frames.size()), width, height})
        appendU16(file, field);
    file.resize(file.size() + frames.size() * kFrameEntrySize);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const HandFrame& f = frames[i];
        const std::size_t at = kSpriteHeaderSize + i * kFrameEntrySize;
        file[at] = f.x, file[at + 1] = f.y, file[at + 2] = f.width, file[at + 3] = f.height;
        putU32(file, at + 4, static_cast<std::uint32_t>(file.size()));
        std::size_t rowOffset = 2 * f.rows.size();
        for (const ByteVector& row : f.rows)
            appendU16(file, static_cast<std::uint16_t>(rowOffset)), rowOffset += row.size();
        for (const ByteVector& row : f.rows)
            file.insert(file.end(), row.begin(), row.end());
    }
    return file;
}

// Every store of a decode, keyed by (column, row).
struct StoreLog final : FrameRowSink {
    void store(int column, int row, std::uint8_t value) override {
        stores[{column, row}] = value;
        ++count;
    }
    std::map<std::pair<int, int>, int> stores;
    int count = 0;
};

// The frames as the game draws them: each frame's place, width and every pixel it stores (a
// stored 0 too), from the box's corner.
struct DrawnFrame {
    int x, y, width;
    std::map<std::pair<int, int>, int> stores;
    bool operator==(const DrawnFrame&) const = default;
};

inline std::vector<DrawnFrame> drawnFrames(Bytes sprite) {
    std::vector<DrawnFrame> frames;
    for (std::size_t i = 0; i < readSpriteHeader(sprite).value().frameCount; ++i) {
        const FrameEntry entry = readFrameEntry(sprite, i).value();
        StoreLog log;
        if (decodeFrameRows(sprite, entry, log) != DecodeStatus::complete)
            log.stores.clear(), log.stores[{-1, -1}] = -1; // never a decode's store
        frames.push_back({entry.xOffset, entry.yOffset, entry.width, std::move(log.stores)});
    }
    return frames;
}

// A compact sprite keeps the header and draws every frame as the sprite does, in fewer bytes.
inline bool drawsTheSameInFewerBytes(Bytes compact, Bytes sprite) {
    return readSpriteHeader(compact) == readSpriteHeader(sprite) &&
           drawnFrames(compact) == drawnFrames(sprite) && compact.size() < sprite.size();
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
    appendU16(file, 1), appendU16(file, static_cast<std::uint16_t>(bitCount));
    for (const std::uint32_t field : {compression, std::uint32_t(data.size()), 0u, 0u, 0u, 0u})
        appendU32(file, field);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

} // namespace pixmorph::test
