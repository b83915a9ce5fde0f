#pragma once
// The frame decoder's loop, generic over where the runs go, so that a canvas receives them
// through direct calls. decodeFrameRows is this loop behind FrameRowSink.

#include "core/grp_format.h"

#include <algorithm>

namespace pixmorph {

namespace detail {

// Opcodes that produce no pixel (0x00, a skip or a repeat of 0) serve no row. A long stream of
// them would let every row of every frame read on to the end of the file, so a row that idles
// longer than this is refused as malformed; no writer pads a row with more than a few.
inline constexpr int kMaxIdleOpcodes = 256;

// The most bytes one row stream of the given width can take: the idle opcodes allowed (two
// bytes each at most), at most two bytes per pixel before the last opcode, and a last literal
// run reaching past the width.
constexpr std::size_t mostRowBytes(int width) {
    return 2 * (kMaxIdleOpcodes + 1) + 2 * static_cast<std::size_t>(width) + 64;
}

// Decodes one row stream; truncated when the data ends before the row reaches the box width.
// Every opcode consumes at least its own byte, so a row that never reaches the width still
// ends at the end of the data. Unless checkEnd, the caller has made sure the data holds
// mostRowBytes(width) from position on.
template <bool checkEnd, class Sink>
DecodeStatus decodeRow(Bytes file, std::size_t position, int width, int row, Sink& sink) {
    const std::size_t size = checkEnd ? file.size() : position + mostRowBytes(width);
    int x = 0;
    int idle = 0;
    while (x < width) {
        if (checkEnd && position >= size)
            return DecodeStatus::truncated;
        const int c = file[position++];
        // Counted where the opcode is taken apart, as a count of 0.
        auto idles = [&idle](int count) { return count == 0 && ++idle > kMaxIdleOpcodes; };
        if (c & 0x80) {
            if (idles(c & 0x7F))
                return DecodeStatus::idling;
            x += c & 0x7F;
        } else if (c & 0x40) {
            const int count = c & 0x3F;
            if (idles(count))
                return DecodeStatus::idling;
            if (checkEnd && position >= size)
                return DecodeStatus::truncated;
            const std::uint8_t value = file[position++];
            sink.storeRepeat(x, row, value, count);
            x += count;
        } else {
            if (idles(c))
                return DecodeStatus::idling;
            // The values the data still holds are stored even when the run is cut short.
            int count = c;
            if (checkEnd) {
                const std::size_t left = position < size ? size - position : 0;
                count = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(c), left));
            }
            sink.storeLiteral(x, row, file.data() + position, count);
            if (checkEnd && count < c)
                return DecodeStatus::truncated;
            position += static_cast<std::size_t>(c);
            x += c;
        }
    }
    return DecodeStatus::complete;
}

} // namespace detail

// Decodes the frame's rows into sink.storeRepeat(column, row, value, count) and
// sink.storeLiteral(column, row, values, count), as decodeFrameRows does.
template <class Sink>
DecodeStatus decodeFrameRowsInto(Bytes file, const FrameEntry& entry, Sink& sink) {
    const std::size_t base = entry.dataOffset;
    for (int row = 0; row < entry.height; ++row) {
        auto rowOffset = readU16(file, base + 2 * static_cast<std::size_t>(row));
        if (!rowOffset)
            return DecodeStatus::truncated;
        // Most rows lie well before the end of the file: their reads need no check.
        const std::size_t start = base + *rowOffset;
        const DecodeStatus status =
            start <= file.size() && file.size() - start >= detail::mostRowBytes(entry.width)
                ? detail::decodeRow<false>(file, start, entry.width, row, sink)
                : detail::decodeRow<true>(file, start, entry.width, row, sink);
        if (status != DecodeStatus::complete)
            return status;
    }
    return DecodeStatus::complete;
}

} // namespace pixmorph
