#include "core/bmp_file.h"
#include "core/grp_row_decoder.h"

#include <cstring>

namespace pixmorph {
namespace {

// Places the decoded runs at the frame's offsets; called directly, not through FrameRowSink,
// since a call per run is much of a frame's decoding.
class ExportCanvasSink {
public:
    ExportCanvasSink(const FrameEntry& entry, ExportCanvas& canvas)
        : xOffset_(entry.xOffset), yOffset_(entry.yOffset + 1), canvas_(canvas) {}

    void storeRepeat(int column, int row, std::uint8_t value, int count) {
        canvas_.setRepeat(xOffset_ + column, yOffset_ + row, value, count);
    }
    void storeLiteral(int column, int row, const std::uint8_t* values, int count) {
        canvas_.setLiteral(xOffset_ + column, yOffset_ + row, values, count);
    }

private:
    int xOffset_;
    int yOffset_;
    ExportCanvas& canvas_;
};

} // namespace

ExportCanvas::ExportCanvas() : cells_(static_cast<std::size_t>(kSize) * kColumns) {
    clear();
}

void ExportCanvas::clear() {
    if (firstDrawnColumn_ <= lastDrawnColumn_) {
        const auto count = static_cast<std::size_t>(lastDrawnColumn_ - firstDrawnColumn_ + 1);
        for (int row = firstDrawnRow_; row <= lastDrawnRow_; ++row)
            std::memset(cells_.data() + static_cast<std::size_t>(row) * kColumns +
                            firstDrawnColumn_,
                        0, count);
    }
    firstDrawnColumn_ = firstDrawnRow_ = kSize;
    lastDrawnColumn_ = lastDrawnRow_ = -1;
    overflowed_ = false;
}

DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas) {
    canvas.clear();
    ExportCanvasSink sink(entry, canvas);
    return decodeFrameRowsInto(file, entry, sink);
}

} // namespace pixmorph
