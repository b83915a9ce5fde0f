#pragma once
// Hand-laid GRP files for the decoder tests: header, table (no maker tag), then each frame's
// row offsets and rows, so that every byte of the file is needed by some frame.

#include "core/grp_format.h"

#include <map>
#include <utility>
#include <vector>

namespace pixmorph::test {

struct HandFrame {
    std::uint8_t x, y, width, height;
    std::vector<ByteVector> rows; // one opcode stream per row
};

inline ByteVector handLaidSprite(std::uint16_t width, std::uint16_t height,
                                 const std::vector<HandFrame>& frames) {
    ByteVector file;
    for (std::uint16_t field : {static_cast<std::uint16_t>(frames.size()), width, height})
        appendU16(file, field);
    file.resize(file.size() + frames.size() * kFrameEntrySize);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const HandFrame& frame = frames[i];
        const std::size_t entryAt = kSpriteHeaderSize + i * kFrameEntrySize;
        file[entryAt] = frame.x;
        file[entryAt + 1] = frame.y;
        file[entryAt + 2] = frame.width;
        file[entryAt + 3] = frame.height;
        putU32(file, entryAt + 4, static_cast<std::uint32_t>(file.size()));
        std::size_t rowOffset = 2 * frame.rows.size();
        for (const ByteVector& row : frame.rows) {
            appendU16(file, static_cast<std::uint16_t>(rowOffset));
            rowOffset += row.size();
        }
        for (const ByteVector& row : frame.rows)
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

} // namespace pixmorph::test
