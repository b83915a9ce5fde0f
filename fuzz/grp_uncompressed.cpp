// The uncompressed variant's reader: the detection on any file, then each frame (up to a
// budget) decoded as raw rows, the first also into the preview's and the export's canvases. A file
// detected as the variant must decode every frame completely, with every row exactly the box width.
#include "core/bmp_file.h"
#include "core/grp_format.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace pixmorph;

namespace {

constexpr std::size_t kFrameLimit = 64;

// Raw rows come whole, one literal run per row from column 0, within the box.
class RowCheck final : public FrameRowSink {
public:
    explicit RowCheck(const FrameEntry& entry) : entry_(entry) {}
    void store(int, int, std::uint8_t) override { FUZZ_CHECK(false); }
    void storeRepeat(int, int, std::uint8_t, int) override { FUZZ_CHECK(false); }
    void storeLiteral(int column, int row, const std::uint8_t*, int count) override {
        FUZZ_CHECK(column == 0 && row == rows_ && count > 0 && count <= entry_.width);
        FUZZ_CHECK(row < entry_.height);
        ++rows_;
        lastCount_ = count;
    }
    int rows() const { return rows_; }
    int lastCount() const { return lastCount_; }

private:
    const FrameEntry& entry_;
    int rows_ = 0;
    int lastCount_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FrameCanvas canvas;
    static ExportCanvas exportCanvas;
    const Bytes file(data, size);
    const SpriteEncoding encoding = detectSpriteEncoding(file);
    const auto header = readSpriteHeader(file);
    if (!header) {
        FUZZ_CHECK(encoding == SpriteEncoding::runLength);
        return 0;
    }
    const std::size_t frames = std::min<std::size_t>(header->frameCount, kFrameLimit);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto entry = readFrameEntry(file, i);
        if (!entry) {
            FUZZ_CHECK(encoding == SpriteEncoding::runLength);
            break;
        }
        RowCheck rows(*entry);
        const DecodeStatus status =
            decodeFrameRows(file, *entry, rows, SpriteEncoding::uncompressed);
        // The canvases cost a clear each: the first frame only.
        if (i == 0) {
            FUZZ_CHECK(decodeFrame(file, *entry, canvas, SpriteEncoding::uncompressed) == status);
            FUZZ_CHECK(decodeFrameForExport(file, *entry, exportCanvas,
                                            SpriteEncoding::uncompressed) == status);
        }
        if (status == DecodeStatus::complete)
            FUZZ_CHECK(entry->width == 0 || entry->height == 0 ||
                       (rows.rows() == entry->height && rows.lastCount() == entry->width));
        else
            FUZZ_CHECK(status == DecodeStatus::truncated);
        if (encoding == SpriteEncoding::uncompressed)
            FUZZ_CHECK(status == DecodeStatus::complete && entry->width > 0 && entry->height > 0);
    }
    return 0;
}
