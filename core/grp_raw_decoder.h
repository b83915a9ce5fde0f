#pragma once
// The uncompressed variant's frame decoder, and the choice between it and the run-length one,
// generic over where the rows go like decodeFrameRowsInto.

#include "core/grp_row_decoder.h"

#include <algorithm>

namespace pixmorph {

// Row r of the frame is the width bytes at dataOffset + r x width, handed over as one literal
// run; truncated when the data ends before the last row does (what it still holds is stored).
template <class Sink>
DecodeStatus decodeRawFrameInto(Bytes file, const FrameEntry& entry, Sink& sink) {
    const std::size_t width = entry.width;
    for (int row = 0; row < entry.height; ++row) {
        const std::size_t start = entry.dataOffset + static_cast<std::size_t>(row) * width;
        const std::size_t held = start < file.size() ? std::min(width, file.size() - start) : 0;
        if (held > 0)
            sink.storeLiteral(0, row, file.data() + start, static_cast<int>(held));
        if (held < width)
            return DecodeStatus::truncated;
    }
    return DecodeStatus::complete;
}

template <class Sink>
DecodeStatus decodeSpriteFrameInto(Bytes file, const FrameEntry& entry, SpriteEncoding encoding,
                                   Sink& sink) {
    return encoding == SpriteEncoding::uncompressed ? decodeRawFrameInto(file, entry, sink)
                                                    : decodeFrameRowsInto(file, entry, sink);
}

} // namespace pixmorph
