#include "core/grp_format.h"

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

// Opcodes that produce no pixel (0x00, a skip or a repeat of 0) serve no row. A long stream of
// them would let every row of every frame read on to the end of the file, so a row that idles
// longer than this is refused as malformed; no writer pads a row with more than a few.
constexpr int kMaxIdleOpcodes = 256;

// Decodes one row stream; truncated when the data ends before the row reaches the box width.
// Every opcode consumes at least its own byte, so a row that never reaches the width still
// ends at the end of the data.
DecodeStatus decodeRow(Bytes file, std::size_t position, int width, int row, FrameRowSink& sink) {
    int x = 0;
    int idle = 0;
    while (x < width) {
        auto opcode = readU8(file, position++);
        if (!opcode)
            return DecodeStatus::truncated;
        const int c = *opcode;
        const bool producesNoPixel = c == 0x00 || c == 0x40 || c == 0x80;
        if (producesNoPixel && ++idle > kMaxIdleOpcodes)
            return DecodeStatus::idling;
        if (c & 0x80) {
            x += c & 0x7F;
        } else if (c & 0x40) {
            auto value = readU8(file, position++);
            if (!value)
                return DecodeStatus::truncated;
            const int count = c & 0x3F;
            sink.storeRepeat(x, row, *value, count);
            x += count;
        } else {
            // The values the data still holds are stored even when the run is cut short.
            const std::size_t left = position < file.size() ? file.size() - position : 0;
            const int count =
                static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(c), left));
            sink.storeLiteral(x, row, file.data() + position, count);
            if (count < c)
                return DecodeStatus::truncated;
            position += static_cast<std::size_t>(c);
            x += c;
        }
    }
    return DecodeStatus::complete;
}

class CanvasSink final : public FrameRowSink {
public:
    CanvasSink(FrameCanvas& canvas, const FrameEntry& entry) : canvas_(canvas), entry_(entry) {}
    void store(int column, int row, std::uint8_t value) override {
        canvas_.set(entry_.xOffset + column, entry_.yOffset + row, value);
    }
    void storeRepeat(int column, int row, std::uint8_t value, int count) override {
        for (int i = 0; i < count; ++i)
            canvas_.set(entry_.xOffset + column + i, entry_.yOffset + row, value);
    }
    void storeLiteral(int column, int row, const std::uint8_t* values, int count) override {
        for (int i = 0; i < count; ++i)
            canvas_.set(entry_.xOffset + column + i, entry_.yOffset + row, values[i]);
    }

private:
    FrameCanvas& canvas_;
    const FrameEntry& entry_;
};

} // namespace

DecodeStatus decodeFrameRows(Bytes file, const FrameEntry& entry, FrameRowSink& sink) {
    const std::size_t base = entry.dataOffset;
    for (int row = 0; row < entry.height; ++row) {
        auto rowOffset = readU16(file, base + 2 * static_cast<std::size_t>(row));
        if (!rowOffset)
            return DecodeStatus::truncated;
        if (const DecodeStatus status = decodeRow(file, base + *rowOffset, entry.width, row, sink);
            status != DecodeStatus::complete)
            return status;
    }
    return DecodeStatus::complete;
}

DecodeStatus decodeFrame(Bytes file, const FrameEntry& entry, FrameCanvas& canvas) {
    canvas.clear();
    CanvasSink sink(canvas, entry);
    return decodeFrameRows(file, entry, sink);
}

} // namespace pixmorph
