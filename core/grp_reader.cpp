#include "core/grp_format.h"
#include "core/grp_raw_decoder.h"

#include <algorithm>

namespace pixmorph {

std::optional<SpriteHeader> readSpriteHeader(Bytes file) {
    auto frameCount = readU16(file, 0);
    auto width = readU16(file, 2);
    auto height = readU16(file, 4);
    if (!frameCount || !width || !height)
        return std::nullopt;
    return SpriteHeader{*frameCount, *width, *height};
}

std::optional<FrameEntry> readFrameEntry(Bytes file, std::size_t index) {
    // An index far past the table must not wrap the offset round to a valid position.
    if (file.size() < kSpriteHeaderSize ||
        index > (file.size() - kSpriteHeaderSize) / kFrameEntrySize)
        return std::nullopt;
    const std::size_t at = kSpriteHeaderSize + index * kFrameEntrySize;
    auto x = readU8(file, at);
    auto y = readU8(file, at + 1);
    auto width = readU8(file, at + 2);
    auto height = readU8(file, at + 3);
    auto dataOffset = readU32(file, at + 4);
    if (!x || !y || !width || !height || !dataOffset)
        return std::nullopt;
    return FrameEntry{*x, *y, *width, *height, *dataOffset};
}

namespace {

// Places the decoded runs at the frame's offsets, called directly by the decoder's loop.
class CanvasPlacement {
public:
    CanvasPlacement(FrameCanvas& canvas, const FrameEntry& entry)
        : canvas_(canvas), entry_(entry) {}
    void storeRepeat(int column, int row, std::uint8_t value, int count) {
        for (int i = 0; i < count; ++i)
            canvas_.set(entry_.xOffset + column + i, entry_.yOffset + row, value);
    }
    void storeLiteral(int column, int row, const std::uint8_t* values, int count) {
        for (int i = 0; i < count; ++i)
            canvas_.set(entry_.xOffset + column + i, entry_.yOffset + row, values[i]);
    }

private:
    FrameCanvas& canvas_;
    const FrameEntry& entry_;
};

} // namespace

DecodeStatus decodeFrameRows(Bytes file, const FrameEntry& entry, FrameRowSink& sink,
                             SpriteEncoding encoding) {
    return decodeSpriteFrameInto(file, entry, encoding, sink);
}

DecodeStatus decodeFrame(Bytes file, const FrameEntry& entry, FrameCanvas& canvas,
                         SpriteEncoding encoding) {
    canvas.clear();
    CanvasPlacement placement(canvas, entry);
    return decodeSpriteFrameInto(file, entry, encoding, placement);
}

} // namespace pixmorph
