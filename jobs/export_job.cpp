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
#include <filesystem>
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
    static std::uint64_t key(const FrameEntry& e) { return frameEntryKey(e); }
    std::unordered_map<std::uint64_t, std::size_t> lastUse_;
    std::unordered_map<std::uint64_t, ByteVector> kept_;
    std::size_t keptBytes_ = 0;
};

// The most the export writes: every bitmap at the most its size can take and the list, each
// file rounded up to whole blocks of the file system.
std::uint64_t mostBytesWritten(const SpriteHeader& header, std::size_t bitmaps,
                               std::size_t listBytes) {
    constexpr std::uint64_t kBlock = 4096;
    const auto inBlocks = [](std::uint64_t bytes) {
        return (bytes + kBlock - 1) / kBlock * kBlock;
    };
    return bitmaps * inBlocks(mostFrameBmpBytes(header.width, header.height)) + inBlocks(listBytes);
}

// Refuses an export whose files may not fit on the disk, before any is written.
std::optional<std::string> refuseWithoutRoom(std::uint64_t needed, const std::string& folder,
                                             const std::string& path) {
    const std::optional<std::uint64_t> free = freeSpace(folder);
    if (!free || needed <= *free)
        return std::nullopt;
    const auto megabytes = [](std::uint64_t bytes) {
        return std::to_string((bytes + (1u << 20) - 1) >> 20);
    };
    return fillIn(msg::kExportNoRoom,
                  {path, megabytes(needed), folder.empty() ? "." : folder, megabytes(*free)});
}

struct SpriteTable {
    SpriteHeader header;
    std::vector<FrameEntry> entries;
};

// The header and the frame table, the frames counted once the header is read; nullopt after
// a refusal.
std::optional<SpriteTable> readSpriteTable(JobDelegate& delegate, Bytes file,
                                           const std::string& path) {
    const std::optional<SpriteHeader> header = readSpriteHeader(file);
    if (!header) {
        refuse(delegate, fillIn(msg::kGrpTooShort, {path}), path);
        return std::nullopt;
    }
    if (const auto refusal = refuseSpriteSize(*header, path)) {
        refuse(delegate, *refusal, path);
        return std::nullopt;
    }
    delegate.progress(0, header->frameCount);
    auto entries = readFrameTable(file, header->frameCount);
    if (!entries) {
        refuse(delegate, fillIn(msg::kGrpTableCut, {path}), path);
        return std::nullopt;
    }
    return SpriteTable{*header, std::move(*entries)};
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

// Decodes the frame and refuses one that its picture could not hold whole; nullopt when the
// frame may be written, else the run's outcome after the message.
std::optional<JobOutcome> decodeWhole(JobDelegate& delegate, Bytes file, const SpriteTable& sprite,
                                      std::size_t i, const std::string& grpPath,
                                      ExportCanvas& canvas, SpriteEncoding encoding) {
    const std::string frameText = std::to_string(i);
    if (const DecodeStatus decoded =
            decodeFrameForExport(file, sprite.entries[i], canvas, encoding);
        decoded != DecodeStatus::complete) {
        const auto text =
            decoded == DecodeStatus::idling ? msg::kGrpFrameIdling : msg::kGrpFrameCut;
        return refuseFrame(delegate, i, fillIn(text, {grpPath, frameText}), grpPath);
    }
    if (canvas.overflowed())
        return refuseFrame(delegate, i, fillIn(msg::kFrameOutsidePicture, {grpPath, frameText}),
                           grpPath);
    // The bitmap is the sprite's size: pixels beyond it would be lost without a word.
    const SpriteHeader& header = sprite.header;
    if (canvas.drawnOutside(header.width, header.height)) {
        const std::string size =
            std::to_string(header.width) + " x " + std::to_string(header.height);
        return refuseFrame(delegate, i,
                           fillIn(msg::kFrameOutsideSprite, {grpPath, frameText, size}), grpPath);
    }
    return std::nullopt;
}

// A sheet or an animation in place of a picture per frame and a list; nullptr when neither is
// asked for, and when the sheet would be too large (refused).
std::unique_ptr<FrameGathering> gatheringFor(const ExportInput& input, SheetPlan plan) {
    if (input.gifFps > 0)
        return makeGifAnimation({joinPath(plan.folder, plan.name + ".gif"), plan.width, plan.height,
                                 input.gifFps, input.palette});
    if (input.sheetColumns > 0)
        return makeSpriteSheet(plan);
    return nullptr;
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

JobOutcome runExportJob(JobDelegate& delegate, const ExportInput& input) {
    const std::optional<ExportMode> mode = delegate.chooseExportMode();
    if (!mode) {
        delegate.cancelled();
        return JobOutcome::cancelled;
    }
    delegate.started();

    const std::string& grpPath = input.grpPath;
    if (grpPath.empty())
        return JobOutcome::nothingToDo;
    if (!hasGrpName(grpPath))
        return refuse(delegate, std::string(msg::kNotGrp), grpPath);

    delegate.fileStarted(grpPath, FileAccess::read);
    const FileReadResult grp = readWholeFile(grpPath);
    if (!grp.ok())
        return failOnFile(delegate, grp.error, grpPath);
    const Bytes file(grp.data);
    const std::optional<SpriteTable> sprite = readSpriteTable(delegate, file, grpPath);
    if (!sprite)
        return JobOutcome::failed;
    const SpriteHeader& header = sprite->header;
    const std::vector<FrameEntry>& table = sprite->entries;
    const SpriteEncoding encoding = detectSpriteEncoding(file);
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
        if (!selected)
            return refuse(
                delegate,
                fillIn(msg::kFramesPastEnd, {grpPath, std::to_string(table.size()),
                                             std::to_string(static_cast<long>(table.size()) - 1)}),
                grpPath);
        order = std::move(*selected);
    }

    // Without an output directory the bitmaps stay beside their list, in the GRP's folder, so
    // the list can be compiled back wherever the program runs.
    const std::string folder = input.outputDir.empty() ? folderOf(grpPath) : input.outputDir;
    const std::string name = stem(grpPath);
    const bool png = input.format == PictureFormat::png;
    std::vector<std::string> lines = listLines(name, order, repeats, png ? ".png" : ".bmp");
    if (const auto refusal = refuseListNames(lines, grpPath)) {
        refuse(delegate, *refusal, grpPath);
        return JobOutcome::failed;
    }
    if (partial)
        lines.push_back(partialNote(table.size()));
    const std::string listText = writeQblList(lines);
    const auto bitmaps = static_cast<std::size_t>(
        std::count(repeats.begin(), repeats.end(), std::optional<std::size_t>{}));
    if (const auto refusal = refuseWithoutRoom(mostBytesWritten(header, bitmaps, listText.size()),
                                               folder, grpPath)) {
        refuse(delegate, *refusal, grpPath);
        return JobOutcome::failed;
    }

    // The bitmaps and the list are kept back until every frame is written: a damaged frame or
    // a full disk half way through leaves every earlier output as it was.
    StagedFiles outputs(folder);
    ExportCanvas canvas;
    RepeatedBitmaps repeated(table);
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
    const std::unique_ptr<FrameGathering> gathering = gatheringFor(input, plan);
    if (input.sheetColumns > 0 && !gathering) {
        const std::string sheetPath = sheetPicturePath(plan);
        return refuse(delegate,
                      fillIn(msg::kSheetTooLarge, {sheetPath, std::to_string(kMaxSheetSide),
                                                   std::to_string(kMaxSheetPixels)}),
                      sheetPath);
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        delegate.progress(k + 1, order.size());
        if (gathering) {
            if (!repeats[i])
                if (const auto refused =
                        decodeWhole(delegate, file, *sprite, i, grpPath, canvas, encoding))
                    return *refused;
            gathering->add(i, repeats[i], canvas);
            if (const std::string refusal = gathering->refusal(); !refusal.empty())
                return refuse(delegate, refusal, grpPath);
            continue;
        }
        if (repeats[i])
            continue;
        const std::string& bmpName = lines[k + 1];
        ByteVector encoded;
        const ByteVector* bmp = repeated.find(table[i]);
        if (!bmp) {
            if (const auto refused =
                    decodeWhole(delegate, file, *sprite, i, grpPath, canvas, encoding))
                return *refused;
            encoded = png ? encodeFramePng(canvas, input.palette, header.width, header.height)
                          : encodeFrameBmp(canvas, input.palette, header.width, header.height);
            repeated.keep(i, table[i], encoded);
            bmp = &encoded;
        }
        // The frame's own bytes are handed over; kept ones are copied.
        ByteVector bytes = bmp == &encoded ? std::move(encoded) : ByteVector(*bmp);
        delegate.fileStarted(joinPath(folder, bmpName), FileAccess::write);
        if (const FileErrorCause error = outputs.add(bmpName, std::move(bytes));
            error != FileErrorCause::none)
            return failOnFile(delegate, error, outputs.failedPath());
        repeated.done(i, table[i]);
    }

    std::vector<OutputFile> whole;
    if (gathering) {
        whole = gathering->finish();
        if (const std::string refusal = gathering->refusal(); !refusal.empty())
            return refuse(delegate, refusal, grpPath);
    } else {
        whole.push_back(
            {joinPath(folder, name + ".qbl"), ByteVector(listText.begin(), listText.end())});
    }
    for (OutputFile& output : whole) {
        delegate.fileStarted(output.path, FileAccess::write);
        // The staged files are named within the output folder.
        const std::string inFolder = std::filesystem::path(output.path).filename();
        if (const FileErrorCause error = outputs.add(inFolder, std::move(output.bytes));
            error != FileErrorCause::none)
            return failOnFile(delegate, error, outputs.failedPath());
    }
    delegate.namingFiles();
    if (const FileErrorCause error = outputs.commit(); error != FileErrorCause::none)
        return failOnFile(delegate, error, outputs.failedPath());
    return finish(delegate);
}

} // namespace pixmorph
