#include "core/bmp_file.h"
#include "core/byte_runs.h"
#include "core/grp_raw_decoder.h"

#include <algorithm>
#include <cstring>

namespace pixmorph {
// Places the decoded runs at the frame's offsets; called directly, not through FrameRowSink,
// since a call per run is much of a frame's decoding.
class ExportFrameSink {
public:
    ExportFrameSink(const FrameEntry& entry, ExportCanvas& canvas)
        : xOffset_(entry.xOffset), yOffset_(entry.yOffset + 1), canvas_(canvas),
          rowsInside_(yOffset_ + entry.height - 1 < ExportCanvas::kSize),
          origin_(canvas.cells_.data() +
                  static_cast<std::size_t>(std::min(yOffset_, ExportCanvas::kSize - 1)) *
                      ExportCanvas::kColumns +
                  xOffset_),
          boxColumns_(std::min<int>(entry.width, ExportCanvas::kColumns - xOffset_)) {
        // The rows and the columns of the frame's box; the columns a row's last run carries
        // past the box are added once the frame is decoded (see markFurthestColumn).
        canvas.growDrawnBox(xOffset_,
                            std::min(xOffset_ + entry.width - 1, ExportCanvas::kColumns - 1),
                            std::min(yOffset_, ExportCanvas::kSize - 1));
        canvas.growDrawnBox(xOffset_, xOffset_,
                            std::min(yOffset_ + entry.height - 1, ExportCanvas::kSize - 1));
    }

    // Most runs lie within the frame's box, inside the canvas: they are stored without a check
    // more. A row's last run may reach past the box (by up to 62 pixels), and a frame may lie
    // partly outside the canvas.
    void storeRepeat(int column, int row, std::uint8_t value, int count) {
        if (withinBox(column, count)) [[likely]] {
            fillShortRun(cells(column, row), value, count);
            return;
        }
        reach_ = std::max(reach_, column + count);
        if (inside(column, count))
            fillShortRun(cells(column, row), value, count);
        else
            ExportCanvas::fill(canvas_.clipRun(xOffset_ + column, yOffset_ + row, count), value);
    }
    void storeLiteral(int column, int row, const std::uint8_t* values, int count) {
        if (withinBox(column, count)) [[likely]] {
            copyShortRun(cells(column, row), values, count);
            return;
        }
        reach_ = std::max(reach_, column + count);
        if (inside(column, count))
            copyShortRun(cells(column, row), values, count);
        else
            ExportCanvas::copy(canvas_.clipRun(xOffset_ + column, yOffset_ + row, count), values);
    }

    // The drawn box holds the columns that runs past the box reached, so that a clear removes
    // them and drawnOutside looks at them, while the box of a frame that stays within its width
    // stays as narrow as the frame.
    void markFurthestColumn() {
        if (reach_ > 0)
            canvas_.growDrawnBox(xOffset_,
                                 std::min(xOffset_ + reach_ - 1, ExportCanvas::kColumns - 1),
                                 canvas_.firstDrawnRow_);
    }

private:
    // Columns and rows are never negative, and a run holds fewer than 64 pixels.
    bool withinBox(int column, int count) const {
        return rowsInside_ && column + count <= boxColumns_;
    }
    bool inside(int column, int count) const {
        return rowsInside_ && xOffset_ + column + count <= ExportCanvas::kColumns;
    }
    std::uint8_t* cells(int column, int row) const {
        return origin_ + static_cast<std::size_t>(row) * ExportCanvas::kColumns + column;
    }

    int xOffset_;
    int yOffset_;
    ExportCanvas& canvas_;
    bool rowsInside_;
    std::uint8_t* origin_;
    int boxColumns_; // the columns of the frame's box within the canvas
    int reach_ = 0;  // the column past the furthest pixel stored, from the frame's left edge
};

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

bool ExportCanvas::drawnOutside(int width, int height) const {
    if (firstDrawnColumn_ > lastDrawnColumn_ ||
        (lastDrawnColumn_ < width && lastDrawnRow_ <= height))
        return false;
    const auto anyDrawn = [&](int row, int from, int to) {
        const std::uint8_t* cells = this->row(row);
        return std::any_of(cells + from, cells + to + 1, [](std::uint8_t v) { return v != 0; });
    };
    for (int row = firstDrawnRow_; row <= lastDrawnRow_; ++row) {
        const bool rowOutside = row < 1 || row > height;
        const int from = rowOutside ? firstDrawnColumn_ : std::max(firstDrawnColumn_, width);
        if (from <= lastDrawnColumn_ && anyDrawn(row, from, lastDrawnColumn_))
            return true;
    }
    return false;
}

DecodeStatus decodeFrameForExport(Bytes file, const FrameEntry& entry, ExportCanvas& canvas,
                                  SpriteEncoding encoding) {
    canvas.clear();
    ExportFrameSink sink(entry, canvas);
    const DecodeStatus status = decodeSpriteFrameInto(file, entry, encoding, sink);
    sink.markFurthestColumn();
    return status;
}

} // namespace pixmorph
