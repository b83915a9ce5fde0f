// The preview's path through a GRP file: header, one frame entry, the rows into the
// FrameCanvas, then the drawing loop and the fit rule. The first and the last frame of the
// table are shown.
#include "core/grp_format.h"
#include "core/preview.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

using namespace pixmorph;

namespace {

// Where a row stream may store: its rows, and at most one run (63 cells) past the box width.
class PlacementCheck final : public FrameRowSink {
public:
    explicit PlacementCheck(const FrameEntry& entry) : entry_(entry) {}
    void store(int column, int row, std::uint8_t) override {
        FUZZ_CHECK(column >= 0 && column < entry_.width + 63);
        FUZZ_CHECK(row >= 0 && row < entry_.height);
    }

private:
    const FrameEntry& entry_;
};

void showFrame(Bytes file, std::size_t index, FrameCanvas& canvas) {
    const auto entry = readFrameEntry(file, index);
    if (!entry) {
        // Only an entry that lies past the end of the data is missing.
        FUZZ_CHECK(kSpriteHeaderSize + (index + 1) * kFrameEntrySize > file.size());
        return;
    }
    PlacementCheck placement(*entry);
    const DecodeStatus rows = decodeFrameRows(file, *entry, placement);
    FUZZ_CHECK(decodeFrame(file, *entry, canvas) == rows);

    for (int x = 0; x < entry->width; ++x)
        for (int y = 0; y < entry->height; ++y) {
            const int value = canvas.at(entry->xOffset + x, entry->yOffset + y);
            FUZZ_CHECK(value >= 0 && value <= 255);
        }
    for (const bool scale : {false, true}) {
        const DrawnSize drawn = fitToPreview(entry->width, entry->height, scale);
        FUZZ_CHECK(drawn.width >= 0 && drawn.width <= kPreviewWidth);
        FUZZ_CHECK(drawn.height >= 0 && drawn.height <= kPreviewHeight);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FrameCanvas canvas;
    const Bytes file(data, size);
    const auto header = readSpriteHeader(file);
    if (!header) {
        FUZZ_CHECK(size < kSpriteHeaderSize);
        return 0;
    }
    if (header->frameCount == 0)
        return 0;
    showFrame(file, 0, canvas);
    if (header->frameCount > 1)
        showFrame(file, header->frameCount - 1u, canvas);
    return 0;
}
