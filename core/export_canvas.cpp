#include "core/bmp_file.h"

#include <algorithm>
#include <cstring>

namespace pixmorph {
namespace {

class ExportCanvasSink final : public FrameRowSink {
public:
    ExportCanvasSink(const FrameEntry& entry, ExportCanvas& canvas)
        : entry_(entry), canvas_(canvas) {}

    void store(int column, int row, std::uint8_t value) override {
        canvas_.set(entry_.xOffset + column, entry_.yOffset + 1 + row, value);
    }
    void storeRepeat(int column, int row, std::uint8_t value, int count) override {
        canvas_.setRepeat(entry_.xOffset + column, entry_.yOffset + 1 + row, value, count);
    }
    void storeLiteral(int column, int row, const std::uint8_t* values, int count) override {
        canvas_.setLiteral(entry_.xOffset + column, entry_.yOffset + 1 + row, values, count);
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
    for (int row = firstDrawnRow_; row <= lastDrawnRow_; ++row) {
        std::int16_t* cells = cells_.data() + row * kSize;
        const int count = lastDrawnColumn_ - firstDrawnColumn_ + 1;
        if (row == kSize - 1)
            std::fill_n(cells + firstDrawnColumn_, count, kSentinel);
        else
            std::memset(cells + firstDrawnColumn_, 0, count * sizeof *cells);
        cells[kSize - 1] = kSentinel;
    }
    firstDrawnColumn_ = firstDrawnRow_ = kSize;
    lastDrawnColumn_ = lastDrawnRow_ = -1;
    overflowed_ = false;
}

DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas) {
    canvas.clear();
    ExportCanvasSink sink(entry, canvas);
    return decodeFrameRows(file, entry, sink);
}

} // namespace pixmorph
