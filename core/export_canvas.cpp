#include "core/bmp_file.h"

#include <algorithm>

namespace pixmorph {
namespace {

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
    if (firstDrawnColumn_ <= lastDrawnColumn_) {
        // A column's cells are contiguous, so the drawn columns are one stretch of cells.
        std::fill(cells_.begin() + firstDrawnColumn_ * kSize,
                  cells_.begin() + (lastDrawnColumn_ + 1) * kSize, std::int16_t{0});
        for (int column = firstDrawnColumn_; column <= lastDrawnColumn_; ++column)
            cells_[column * kSize + kSize - 1] = kSentinel;
    }
    for (int row = 0; row < kSize; ++row)
        cells_[(kSize - 1) * kSize + row] = kSentinel;
    firstDrawnColumn_ = kSize;
    lastDrawnColumn_ = -1;
    overflowed_ = false;
}

DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas) {
    canvas.clear();
    ExportCanvasSink sink(entry, canvas);
    return decodeFrameRows(file, entry, sink);
}

} // namespace pixmorph
