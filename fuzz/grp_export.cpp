// The export's path through a GRP file: header, the whole frame table, each frame decoded into
// the ExportCanvas and written as an RLE8 BMP at the full sprite size. Every file is checked
// for a well-formed stream of rows; the first frame's file is read back with the compile's
// reader and must hold the decoded pixels.
#include "picture_checks.h"

#include <algorithm>

using namespace pixmorph;

namespace {

constexpr std::size_t kExportFrameLimit = 512;
constexpr std::size_t kPixelData = 1078;
constexpr std::size_t kPixelBudget = 1u << 20;

// Walks the RLE8 stream: only pairs and the two end codes, one end per row, each row covering
// at least the picture's width, the end of picture after the last row and nothing after it.
void checkRowStream(const ByteVector& file, int width, int height) {
    FUZZ_CHECK(readU32(file, 2) == file.size());
    FUZZ_CHECK(readU32(file, 10) == kPixelData);
    FUZZ_CHECK(readU32(file, 18) == static_cast<std::uint32_t>(width));
    FUZZ_CHECK(readU32(file, 22) == static_cast<std::uint32_t>(height));
    FUZZ_CHECK(readU32(file, 34) == file.size() - kPixelData);
    std::size_t at = kPixelData;
    for (int row = 0; row < height; ++row) {
        int covered = 0;
        for (;;) {
            FUZZ_CHECK(at + 2 <= file.size());
            const int count = file[at];
            const int value = file[at + 1];
            at += 2;
            if (count == 0) {
                FUZZ_CHECK(value == (row == height - 1 ? 1 : 0));
                break;
            }
            covered += count;
        }
        FUZZ_CHECK(covered >= width);
    }
    FUZZ_CHECK(at == file.size());
}

// An export refuses the frames the canvas finds drawn outside the picture; any other frame's
// pixels all lie in the picture its bitmap holds.
void checkNothingLost(const ExportCanvas& canvas, int width, int height) {
    if (canvas.drawnOutside(width, height))
        return;
    for (int row = 0; row < ExportCanvas::kSize; ++row)
        for (int column = 0; column < ExportCanvas::kColumns; ++column)
            FUZZ_CHECK(canvas.row(row)[column] == 0 ||
                       (row >= 1 && row <= height && column < width));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ExportCanvas canvas;
    static const Palette palette;
    const Bytes file(data, size);
    const auto header = readSpriteHeader(file);
    if (!header || header->width < 1 || header->width > kMaxPictureSize || header->height < 1 ||
        header->height > kMaxPictureSize)
        return 0;
    // The export's cost is frames times the sprite's area; past a budget more frames of the same
    // size reach no new path of the reader or the writer, only the time limit.
    const std::size_t area = std::size_t{header->width} * header->height;
    const std::size_t frames = std::min<std::size_t>(
        {header->frameCount, kExportFrameLimit, std::max<std::size_t>(1, kPixelBudget / area)});
    for (std::size_t i = 0; i < frames; ++i) {
        const auto entry = readFrameEntry(file, i);
        if (!entry)
            break;
        (void)decodeFrameForExport(file, *entry, canvas);
        const ByteVector bmp = encodeFrameBmp(canvas, palette, header->width, header->height);
        checkRowStream(bmp, header->width, header->height);
        FUZZ_CHECK(bmp.size() <= mostFrameBmpBytes(header->width, header->height));
        if (i == 0) {
            fuzz::checkBmpReadsBack(bmp, canvas, header->width, header->height);
            checkNothingLost(canvas, header->width, header->height);
        }
    }
    return 0;
}
