#include "jobs/export_job.h"

#include "core/bmp_file.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/grp_name.h"
#include "core/png_writer.h"
#include "core/qbl_list.h"
#include "core/sheet_picture.h"
#include "jobs/frame_table.h"
#include "jobs/gif_animation.h"
#include "jobs/job_steps.h"
#include "jobs/sprite_sheet.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace pixmorph {

namespace {

// The sprite's picture must fit the export canvas, and a sprite with frames needs an area to
// draw them in.
std::optional<std::string> refuseSpriteSize(const SpriteHeader& header, const std::string& path) {
    if (header.frameCount == 0)
        return std::nullopt;
    if (header.width > kMaxPictureSize || header.height > kMaxPictureSize)
        return fillIn(msg::kExportTooLarge,
                      {path, std::to_string(header.width), std::to_string(header.height)});
    if (header.width == 0 || header.height == 0)
        return fillIn(msg::kSpriteWithoutArea, {path});
    return std::nullopt;
}

// In the All mode a frame whose whole entry repeats an earlier one's has the same picture: its
// bitmap is kept from its first writing to its last repeat and encoded once. The kept bytes
// are bounded; past the bound a repeat is simply encoded again.
class RepeatedBitmaps {
public:
    explicit RepeatedBitmaps(const std::vector<FrameEntry>& table) {
        for (std::size_t i = 0; i < table.size(); ++i)
            lastUse_[key(table[i])] = i;
    }

    // The bitmap kept for the frame's entry, or nullptr.
    const ByteVector* find(const FrameEntry& entry) const {
        const auto found = kept_.find(key(entry));
        return found == kept_.end() ? nullptr : &found->second;
    }
    // Keeps the bitmap of frame i if a later frame repeats its entry.
    void keep(std::size_t i, const FrameEntry& entry, const ByteVector& bitmap) {
        if (lastUse_[key(entry)] > i && keptBytes_ + bitmap.size() <= kLimit) {
            keptBytes_ += bitmap.size();
            kept_.emplace(key(entry), bitmap);
        }
    }
    // Lets go of the bitmap once frame i, its last repeat, is written.
    void done(std::size_t i, const FrameEntry& entry) {
        const auto found = kept_.find(key(entry));
        if (found != kept_.end() && lastUse_[key(entry)] == i) {
            keptBytes_ -= found->second.size();
            kept_.erase(found);
        }
    }

private:
    static constexpr std::size_t kLimit = 16u << 20;
    static std::uint64_t key(const FrameEntry& e) {
        return static_cast<std::uint64_t>(e.dataOffset) << 32 | std::uint64_t{e.xOffset} << 24 |
               std::uint64_t{e.yOffset} << 16 | std::uint64_t{e.width} << 8 | e.height;
    }
    std::unordered_map<std::uint64_t, std::size_t> lastUse_;
    std::unordered_map<std::uint64_t, ByteVector> kept_;
    std::size_t keptBytes_ = 0;
};

struct SpriteTable {
    SpriteHeader header;
    std::vector<FrameEntry> entries;
};

// The header and the frame table, with the progress range set between the two as the window
// shows it; nullopt after a message.
std::optional<SpriteTable> readSpriteTable(JobView& view, Bytes file, const std::string& path) {
    const std::optional<SpriteHeader> header = readSpriteHeader(file);
    if (!header) {
        refuse(view, fillIn(msg::kGrpTooShort, {path}), path);
        return std::nullopt;
    }
    if (const auto refusal = refuseSpriteSize(*header, path)) {
        refuse(view, *refusal, path);
        return std::nullopt;
    }
    view.setProgressRange(1, header->frameCount + 1);
    view.setProgressStep(1);
    view.setProgressPosition(1);
    auto entries = readFrameTable(file, header->frameCount);
    if (!entries) {
        refuse(view, fillIn(msg::kGrpTableCut, {path}), path);
        return std::nullopt;
    }
    return SpriteTable{*header, std::move(*entries)};
}

// Decodes the frame and refuses one that its picture could not hold whole; false after a
// message.
bool decodeWhole(JobView& view, Bytes file, const SpriteTable& sprite, std::size_t i,
                 const std::string& grpPath, ExportCanvas& canvas) {
    const std::string frameText = std::to_string(i);
    if (const DecodeStatus decoded = decodeFrameForExport(file, sprite.entries[i], canvas);
        decoded != DecodeStatus::complete) {
        const auto text =
            decoded == DecodeStatus::idling ? msg::kGrpFrameIdling : msg::kGrpFrameCut;
        refuse(view, fillIn(text, {grpPath, frameText}), grpPath);
        return false;
    }
    if (canvas.overflowed()) {
        refuse(view, fillIn(msg::kFrameOutsidePicture, {grpPath, frameText}), grpPath);
        return false;
    }
    // The bitmap is the sprite's size: pixels beyond it would be lost without a word.
    const SpriteHeader& header = sprite.header;
    if (canvas.drawnOutside(header.width, header.height)) {
        const std::string size =
            std::to_string(header.width) + " x " + std::to_string(header.height);
        refuse(view, fillIn(msg::kFrameOutsideSprite, {grpPath, frameText, size}), grpPath);
        return false;
    }
    return true;
}

// The list's lines: the GRP's name, then per frame written its picture's name or the
// "dupe_of_" name of the picture it repeats.
std::vector<std::string> listLines(const std::string& name, const std::vector<std::size_t>& order,
                                   const std::vector<std::optional<std::size_t>>& repeats,
                                   std::string_view pictureEnd) {
    std::vector<std::string> lines{name + ".grp"};
    lines.reserve(order.size() + 2);
    for (const std::size_t i : order) {
        const std::string pictureName =
            name + frameTag(static_cast<long>(repeats[i].value_or(i))) + std::string(pictureEnd);
        lines.push_back(repeats[i] ? std::string(kDupePrefix) + pictureName : pictureName);
    }
    return lines;
}

// A list the compile could not read back is not written: the sprite's name decides.
std::optional<std::string> refuseListNames(const std::vector<std::string>& lines,
                                           const std::string& path) {
    for (const std::string& line : lines) {
        switch (listNameFit(line)) {
        case ListNameFit::fits:
            continue;
        case ListNameFit::tooLong:
            return fillIn(msg::kListNameTooLongToWrite, {path, line});
        case ListNameFit::unreadable:
            return fillIn(msg::kListNameNotWritable, {path, line});
        }
    }
    return std::nullopt;
}

} // namespace

JobOutcome RunExport(JobView& view, const ExportInput& input) {
    const std::optional<ExportMode> mode = view.askExportChoice();
    if (!mode) {
        view.setStatus(std::string(msg::kAborted));
        view.stopClip();
        view.enableOk();
        return JobOutcome::aborted;
    }
    view.setStatus(std::string(msg::kExportStatus));
    view.repaintNow();
    view.openClip(kExportClip);

    const std::string& grpPath = input.grpPath;
    if (grpPath.empty())
        return JobOutcome::nothingToDo;
    if (!hasGrpName(grpPath)) {
        refuse(view, std::string(msg::kNotGrp), grpPath);
        return JobOutcome::failed;
    }

    const FileReadResult grp = readWholeFile(grpPath);
    if (!grp.ok()) {
        reportFileError(view, grp.error, grpPath);
        return JobOutcome::failed;
    }
    const Bytes file(grp.data);
    const std::optional<SpriteTable> sprite = readSpriteTable(view, file, grpPath);
    if (!sprite)
        return JobOutcome::failed;
    const SpriteHeader& header = sprite->header;
    const std::vector<FrameEntry>& table = sprite->entries;
    std::vector<std::optional<std::size_t>> repeats(table.size());
    const bool partial = !input.frames.empty();
    // An animation draws every frame, repeated or not.
    if (*mode == ExportMode::unique && !partial && input.gifFps == 0)
        repeats = findRepeats(table);
    std::vector<std::size_t> order(table.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (partial) {
        auto selected = selectFrames(input.frames, table.size());
        if (!selected) {
            refuse(
                view,
                fillIn(msg::kFramesPastEnd, {grpPath, std::to_string(table.size()),
                                             std::to_string(static_cast<long>(table.size()) - 1)}),
                grpPath);
            return JobOutcome::failed;
        }
        order = std::move(*selected);
    }

    // Without an output directory the bitmaps stay beside their list, in the GRP's folder, so
    // the list can be compiled back wherever the program runs.
    const std::string folder = input.outputDir.empty() ? folderOf(grpPath) : input.outputDir;
    const std::string name = stem(grpPath);
    const bool png = input.format == PictureFormat::png;
    std::vector<std::string> lines = listLines(name, order, repeats, png ? ".png" : ".bmp");
    if (const auto refusal = refuseListNames(lines, grpPath)) {
        refuse(view, *refusal, grpPath);
        return JobOutcome::failed;
    }

    // The bitmaps and the list are kept back until every frame is written: a damaged frame or
    // a full disk half way through leaves every earlier output as it was.
    StagedFiles outputs;
    ExportCanvas canvas;
    RepeatedBitmaps repeated(table);
    std::unique_ptr<FrameGathering> gathering;
    if (input.sheetColumns > 0) {
        SheetPlan plan;
        plan.folder = folder;
        plan.name = name;
        plan.width = std::max<int>(header.width, 1);
        plan.height = std::max<int>(header.height, 1);
        plan.columns = input.sheetColumns;
        plan.cells = static_cast<std::size_t>(
            std::count_if(order.begin(), order.end(), [&](std::size_t i) { return !repeats[i]; }));
        plan.fullFrameCount = table.size();
        plan.partial = partial;
        plan.format = input.format;
        plan.palette = input.palette;
        gathering = makeSpriteSheet(plan);
        if (!gathering) {
            const std::string sheetPath = sheetPicturePath(plan);
            refuse(view,
                   fillIn(msg::kSheetTooLarge, {sheetPath, std::to_string(kMaxSheetSide),
                                                std::to_string(kMaxSheetPixels)}),
                   sheetPath);
            return JobOutcome::failed;
        }
    }
    if (input.gifFps > 0)
        gathering =
            makeGifAnimation({joinPath(folder, name + ".gif"), std::max<int>(header.width, 1),
                              std::max<int>(header.height, 1), input.gifFps, input.palette});
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        view.stepProgress();
        if (gathering) {
            if (!repeats[i] && !decodeWhole(view, file, *sprite, i, grpPath, canvas))
                return JobOutcome::failed;
            gathering->add(i, repeats[i], canvas);
            if (const std::string refusal = gathering->refusal(); !refusal.empty()) {
                refuse(view, refusal, grpPath);
                return JobOutcome::failed;
            }
            continue;
        }
        if (repeats[i])
            continue;
        const std::string& bmpName = lines[k + 1];
        const std::string bmpPath = joinPath(folder, bmpName);
        ByteVector encoded;
        const ByteVector* bmp = repeated.find(table[i]);
        if (!bmp) {
            if (!decodeWhole(view, file, *sprite, i, grpPath, canvas))
                return JobOutcome::failed;
            encoded = png ? encodeFramePng(canvas, input.palette, header.width, header.height)
                          : encodeFrameBmp(canvas, input.palette, header.width, header.height);
            repeated.keep(i, table[i], encoded);
            bmp = &encoded;
        }
        // The frame's own bytes are handed over; kept ones are copied.
        ByteVector bytes = bmp == &encoded ? std::move(encoded) : ByteVector(*bmp);
        if (const FileErrorCause error = outputs.add(bmpPath, std::move(bytes));
            error != FileErrorCause::none) {
            reportFileError(view, error, outputs.failedPath());
            return JobOutcome::failed;
        }
        repeated.done(i, table[i]);
    }

    std::vector<OutputFile> whole;
    if (gathering) {
        whole = gathering->finish();
        if (const std::string refusal = gathering->refusal(); !refusal.empty()) {
            refuse(view, refusal, grpPath);
            return JobOutcome::failed;
        }
    } else {
        if (partial)
            lines.push_back(partialNote(table.size()));
        const std::string listText = writeQblList(lines);
        whole.push_back(
            {joinPath(folder, name + ".qbl"), ByteVector(listText.begin(), listText.end())});
    }
    for (OutputFile& output : whole) {
        if (const FileErrorCause error = outputs.add(output.path, std::move(output.bytes));
            error != FileErrorCause::none) {
            reportFileError(view, error, outputs.failedPath());
            return JobOutcome::failed;
        }
    }
    if (const FileErrorCause error = outputs.commit(); error != FileErrorCause::none) {
        reportFileError(view, error, outputs.failedPath());
        return JobOutcome::failed;
    }
    showFinished(view, msg::kExportFinished);
    return JobOutcome::finished;
}

} // namespace pixmorph
