#include "jobs/export_job.h"

#include "core/bmp_file.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/grp_name.h"
#include "core/qbl_list.h"
#include "jobs/frame_table.h"
#include "jobs/job_steps.h"

#include <optional>
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
    if (*mode == ExportMode::unique)
        repeats = findRepeats(table);

    // Without an output directory the bitmaps stay beside their list, in the GRP's folder, so
    // the list can be compiled back wherever the program runs.
    const std::string folder = input.outputDir.empty() ? folderOf(grpPath) : input.outputDir;
    const std::string name = stem(grpPath);
    std::vector<std::string> lines{name + ".grp"};
    lines.reserve(table.size() + 1);

    // The bitmaps and the list are kept back until every frame is written: a damaged frame or
    // a full disk half way through leaves every earlier output as it was.
    StagedFiles outputs;
    ExportCanvas canvas;
    for (std::size_t i = 0; i < table.size(); ++i) {
        view.stepProgress();
        if (const auto original = repeats[i]) {
            lines.push_back(std::string(kDupePrefix) + name +
                            frameTag(static_cast<long>(*original)) + ".bmp");
            continue;
        }
        const std::string frameText = std::to_string(i);
        if (const DecodeStatus decoded = decodeFrameForExport(file, table[i], canvas);
            decoded != DecodeStatus::complete) {
            const auto text =
                decoded == DecodeStatus::idling ? msg::kGrpFrameIdling : msg::kGrpFrameCut;
            refuse(view, fillIn(text, {grpPath, frameText}), grpPath);
            return JobOutcome::failed;
        }
        if (canvas.overflowed()) {
            refuse(view, fillIn(msg::kFrameOutsidePicture, {grpPath, frameText}), grpPath);
            return JobOutcome::failed;
        }
        const std::string bmpName = name + frameTag(static_cast<long>(i)) + ".bmp";
        const std::string bmpPath = joinPath(folder, bmpName);
        const ByteVector bmp = encodeFrameBmp(canvas, input.palette, header.width, header.height);
        if (const FileErrorCause error = outputs.add(bmpPath, bmp); error != FileErrorCause::none) {
            reportFileError(view, error, bmpPath);
            return JobOutcome::failed;
        }
        lines.push_back(bmpName);
    }

    const std::string listPath = joinPath(folder, name + ".qbl");
    const std::string listText = writeQblList(lines);
    const Bytes listBytes(reinterpret_cast<const std::uint8_t*>(listText.data()), listText.size());
    if (const FileErrorCause error = outputs.add(listPath, listBytes);
        error != FileErrorCause::none) {
        reportFileError(view, error, listPath);
        return JobOutcome::failed;
    }
    if (const FileErrorCause error = outputs.commit(); error != FileErrorCause::none) {
        reportFileError(view, error, outputs.failedPath());
        return JobOutcome::failed;
    }
    showFinished(view, msg::kExportFinished);
    return JobOutcome::finished;
}

} // namespace pixmorph
