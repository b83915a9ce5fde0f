// The uncompressed sprite variant: telling it from the run-length form, and writing its rows.
#include "core/grp_format.h"
#include "core/grp_row_decoder.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace pixmorph {

namespace {

std::size_t blockSize(const FrameEntry& entry) {
    return static_cast<std::size_t>(entry.width) * entry.height;
}

// Takes nothing: only whether the rows complete counts.
struct DiscardRuns {
    void storeRepeat(int, int, std::uint8_t, int) {}
    void storeLiteral(int, int, const std::uint8_t*, int) {}
};

// Whether the frame reads as a sound run-length frame: its rows start past its own table of
// row offsets and inside the file, and each one reaches the box width.
bool decodesAsRunLength(Bytes file, const FrameEntry& entry) {
    const std::size_t tableBytes = 2 * static_cast<std::size_t>(entry.height);
    for (int row = 0; row < entry.height; ++row) {
        const auto rowOffset = readU16(file, entry.dataOffset + 2 * static_cast<std::size_t>(row));
        if (!rowOffset || *rowOffset < tableBytes ||
            std::size_t{entry.dataOffset} + *rowOffset >= file.size())
            return false;
    }
    DiscardRuns discard;
    return decodeFrameRowsInto(file, entry, discard) == DecodeStatus::complete;
}

// The blocks of width x height bytes tile [dataStart, file end): sorted by offset, each
// distinct block starts where the one before it ends. Frames sharing an offset share a block
// and must agree on its size.
bool blocksTile(std::vector<FrameEntry> table, std::size_t dataStart, std::size_t fileSize) {
    std::sort(table.begin(), table.end(),
              [](const FrameEntry& a, const FrameEntry& b) { return a.dataOffset < b.dataOffset; });
    std::size_t end = dataStart;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FrameEntry& entry = table[i];
        if (i > 0 && entry.dataOffset == table[i - 1].dataOffset) {
            if (blockSize(entry) != blockSize(table[i - 1]))
                return false;
            continue;
        }
        if (entry.dataOffset != end)
            return false;
        end += blockSize(entry);
    }
    return end == fileSize;
}

} // namespace

std::string_view spriteEncodingName(SpriteEncoding encoding) {
    return encoding == SpriteEncoding::uncompressed ? "uncompressed" : "run-length";
}

SpriteEncoding detectSpriteEncoding(Bytes file) {
    const auto header = readSpriteHeader(file);
    if (!header || header->frameCount == 0)
        return SpriteEncoding::runLength;
    const std::size_t tableEnd = kSpriteHeaderSize + header->frameCount * kFrameEntrySize;
    if (tableEnd > file.size())
        return SpriteEncoding::runLength;

    // A first pass without copying: every block non-empty and inside the data, one starting
    // where the table ends and one ending at the file's end. Run-length sprites mostly fail it
    // (their data starts with the maker tag, or no frame's data is exactly its box's size).
    bool startsData = false;
    bool endsFile = false;
    for (std::size_t i = 0; i < header->frameCount; ++i) {
        const FrameEntry entry = *readFrameEntry(file, i);
        const std::size_t size = blockSize(entry);
        if (size == 0 || entry.dataOffset < tableEnd || entry.dataOffset > file.size() ||
            file.size() - entry.dataOffset < size)
            return SpriteEncoding::runLength;
        startsData = startsData || entry.dataOffset == tableEnd;
        endsFile = endsFile || entry.dataOffset + size == file.size();
    }
    if (!startsData || !endsFile)
        return SpriteEncoding::runLength;
    std::vector<FrameEntry> table;
    table.reserve(header->frameCount);
    for (std::size_t i = 0; i < header->frameCount; ++i)
        table.push_back(*readFrameEntry(file, i));
    if (!blocksTile(table, tableEnd, file.size()))
        return SpriteEncoding::runLength;
    // A file that reads soundly both ways stays with the usual form.
    const bool runLength = std::all_of(table.begin(), table.end(), [&](const FrameEntry& entry) {
        return decodesAsRunLength(file, entry);
    });
    return runLength ? SpriteEncoding::runLength : SpriteEncoding::uncompressed;
}

EncodedFrame encodeRawFrameData(const IndexImage& image, const FrameBox& box) {
    EncodedFrame frame;
    if (box.error != GrpWriteError::none) {
        frame.error = box.error;
        return frame;
    }
    const FrameEntry& entry = box.entry;
    frame.data.assign(static_cast<std::size_t>(entry.width) * entry.height, 0);
    // The closing row stays transparent, as in the run-length form.
    for (int row = 0; row + 1 < entry.height; ++row) {
        const int y = entry.yOffset + row;
        if (y >= IndexImage::kSize)
            break;
        const std::uint32_t* cells = image.row(y);
        const int inside = std::clamp(IndexImage::kSize - entry.xOffset, 0, int{entry.width});
        for (int column = 0; column < inside; ++column)
            frame.data[static_cast<std::size_t>(row) * entry.width + column] =
                static_cast<std::uint8_t>(cells[entry.xOffset + column]);
    }
    return frame;
}

} // namespace pixmorph
