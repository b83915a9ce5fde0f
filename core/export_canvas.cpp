#include "core/bmp_file.h"

#include <algorithm>

namespace pixmorph {
namespace {

constexpr int kPictureColumns = kMaxPictureSize;
constexpr int kLastPictureRow = kMaxPictureSize; // picture rows are canvas rows 1 to 256

class ExportCanvasSink final : public FrameRowSink {
public:
    ExportCanvasSink(const FrameEntry& entry, ExportCanvas& canvas)
        : entry_(entry), canvas_(canvas) {}

    void store(int column, int row, std::uint8_t value) override {
        canvas_.set(entry_.xOffset + column, entry_.yOffset + 1 + row, value);
    }

private:
    const FrameEntry& entry_;
    ExportCanvas& canvas_;
};

} // namespace

ExportCanvas::ExportCanvas() : cells_(kSize * kSize) {
    clear();
}

void ExportCanvas::clear() {
    std::fill(cells_.begin(), cells_.end(), std::int16_t{0});
    for (int i = 0; i < kSize; ++i) {
        cells_[(kSize - 1) * kSize + i] = kSentinel;
        cells_[i * kSize + kSize - 1] = kSentinel;
    }
    overflowed_ = false;
}

std::int16_t ExportCanvas::at(int column, int row) const {
    if (column < 0 || column >= kSize || row < 0 || row >= kSize)
        return kSentinel;
    return cells_[column * kSize + row];
}

void ExportCanvas::set(int column, int row, std::uint8_t value) {
    if (column < 0 || column >= kPictureColumns || row < 0 || row > kLastPictureRow) {
        overflowed_ = true;
        return;
    }
    cells_[column * kSize + row] = value;
}

DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas) {
    canvas.clear();
    ExportCanvasSink sink(entry, canvas);
    return decodeFrameRows(file, entry, sink);
}

} // namespace pixmorph
