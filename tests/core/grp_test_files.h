#pragma once
// Hand-laid GRP files for the decoder tests: frames placed one after another, so that every
// byte of the file is needed by some frame.

#include "core/grp_format.h"

#include <map>
#include <utility>
#include <vector>

namespace pixmorph::test {

struct HandFrame {
    std::uint8_t x = 0, y = 0, width = 0, height = 0;
    std::vector<ByteVector> rows; // one opcode stream per row
};

// Header, table (no maker tag), then each frame's row offsets and rows.
inline ByteVector handLaidSprite(std::uint16_t width, std::uint16_t height,
                                 const std::vector<HandFrame>& frames) {
    ByteVector file;
    appendU16(file, static_cast<std::uint16_t>(frames.size()));
    appendU16(file, width);
    appendU16(file, height);
    const std::size_t tableAt = file.size();
    file.resize(file.size() + frames.size() * kFrameEntrySize);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const HandFrame& frame = frames[i];
        const std::size_t entryAt = tableAt + i * kFrameEntrySize;
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

// Records every store of a decode, keyed by (column, row).
class RecordingSink final : public FrameRowSink {
public:
    void store(int column, int row, std::uint8_t value) override {
        stores[{column, row}] = value;
        ++storeCount;
    }
    std::map<std::pair<int, int>, int> stores;
    int storeCount = 0;
};

} // namespace pixmorph::test
