#include "jobs/sprite_sheet.h"

#include "core/png_writer.h"
#include "core/qbl_list.h"
#include "core/sheet_picture.h"
#include "jobs/job_steps.h"
#include "jobs/sheet_json.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace pixmorph {
namespace {

// The game's fastest pace, 24 frames a second.
constexpr int kFrameDurationMs = 42;

class SpriteSheet final : public FrameGathering {
public:
    SpriteSheet(const SheetPlan& plan, int columns, int rows)
        : plan_(plan), columns_(columns), sheetWidth_(columns * plan.width),
          sheetHeight_(rows * plan.height),
          cells_(static_cast<std::size_t>(sheetWidth_) * sheetHeight_) {}

    void add(std::size_t frame, std::optional<std::size_t> original,
             const ExportCanvas& canvas) override {
        SheetFrame entry;
        entry.name = plan_.name + frameTag(static_cast<long>(frame));
        entry.placed = {0, 0, plan_.width, plan_.height};
        entry.pictureWidth = plan_.width;
        entry.pictureHeight = plan_.height;
        position_[frame] = layout_.frames.size();
        if (original) {
            const std::size_t at = position_.at(*original);
            entry.frame = layout_.frames[at].frame;
            layout_.repeats.emplace_back(at);
        } else {
            const int cell = nextCell_++;
            entry.frame = {cell % columns_ * plan_.width, cell / columns_ * plan_.height,
                           plan_.width, plan_.height};
            // Picture row t is canvas row t + 1, as in the frame's bitmap.
            for (int y = 0; y < plan_.height; ++y)
                std::memcpy(cells_.data() +
                                static_cast<std::size_t>(entry.frame.y + y) * sheetWidth_ +
                                entry.frame.x,
                            canvas.row(y + 1), static_cast<std::size_t>(plan_.width));
            layout_.repeats.emplace_back();
        }
        layout_.frames.push_back(std::move(entry));
    }

    std::vector<OutputFile> finish() override {
        const bool png = plan_.format == PictureFormat::png;
        layout_.image = plan_.name + (png ? ".png" : ".bmp");
        layout_.width = sheetWidth_;
        layout_.height = sheetHeight_;
        layout_.sprite = plan_.name + ".grp";
        if (plan_.partial)
            layout_.fullFrameCount = plan_.fullFrameCount;
        ByteVector picture = png ? encodeIndexedPng(cells_.data(), sheetWidth_, sheetHeight_,
                                                    sheetWidth_, plan_.palette)
                                 : encodeIndexedBmp(cells_.data(), sheetWidth_, sheetHeight_,
                                                    sheetWidth_, plan_.palette);
        const std::string json = writeSheetJson(layout_, kFrameDurationMs);
        return {
            {sheetPicturePath(plan_), std::move(picture)},
            {joinPath(plan_.folder, plan_.name + ".json"), ByteVector(json.begin(), json.end())}};
    }

private:
    SheetPlan plan_;
    int columns_;
    int sheetWidth_;
    int sheetHeight_;
    std::vector<std::uint8_t> cells_;
    int nextCell_ = 0;
    SheetLayout layout_;
    std::unordered_map<std::size_t, std::size_t> position_; // frame -> place in the JSON
};

} // namespace

std::string sheetPicturePath(const SheetPlan& plan) {
    return joinPath(plan.folder, plan.name + (plan.format == PictureFormat::png ? ".png" : ".bmp"));
}

std::unique_ptr<FrameGathering> makeSpriteSheet(const SheetPlan& plan) {
    // A sheet without cells still has one, empty, since a picture needs a pixel.
    const std::size_t cells = std::max<std::size_t>(plan.cells, 1);
    const auto columns = static_cast<int>(std::min<std::size_t>(plan.columns, cells));
    const auto rows = static_cast<std::size_t>((cells + columns - 1) / columns);
    const auto width = static_cast<std::size_t>(columns) * plan.width;
    const std::size_t height = rows * static_cast<std::size_t>(plan.height);
    if (width > kMaxSheetSide || height > kMaxSheetSide || width * height > kMaxSheetPixels)
        return nullptr;
    return std::make_unique<SpriteSheet>(plan, columns, static_cast<int>(rows));
}

} // namespace pixmorph
