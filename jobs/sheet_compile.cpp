#include "jobs/sheet_compile.h"

#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/qbl_list.h"
#include "core/sheet_picture.h"
#include "jobs/job_steps.h"
#include "jobs/sheet_json.h"

#include <optional>

namespace pixmorph {
namespace {

bool isBareName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\") == std::string::npos;
}

// The layout read and checked against what a compile may write; nullopt after the run
// failed with a message.
std::optional<SheetLayout> readLayout(JobDelegate& delegate, const CompileInput& input) {
    const std::string& path = input.listPath;
    delegate.fileStarted(path, FileAccess::read);
    const FileReadResult file = readWholeFile(path);
    if (!file.ok()) {
        failOnFile(delegate, file.error, path);
        return std::nullopt;
    }
    SheetJsonRead read = readSheetJson(
        std::string_view(reinterpret_cast<const char*>(file.data.data()), file.data.size()));
    SheetLayout& layout = read.layout;
    if (read.problem.empty() && !isBareName(layout.image))
        read.problem = std::string(msg::kSheetImageNotBare);
    if (!read.problem.empty()) {
        refuse(delegate, fillIn(msg::kSheetJsonBroken, {path, read.problem}), path);
        return std::nullopt;
    }
    // The GRP is written under this name: a folder in it could place the file anywhere.
    if (layout.sprite.empty())
        layout.sprite = stem(path) + ".grp";
    if (!isBareName(layout.sprite) || layout.sprite.size() < 3) {
        refuse(delegate, fillIn(msg::kListGrpNameNotBare, {path, layout.sprite}), path);
        return std::nullopt;
    }
    if (layout.fullFrameCount && !input.partial) {
        refuse(delegate,
               fillIn(msg::kPartialList, {path, std::to_string(layout.frames.size()),
                                          std::to_string(*layout.fullFrameCount)}),
               path);
        return std::nullopt;
    }
    return std::move(read.layout);
}

bool insideSheet(const SheetRect& r, const SheetPicture& sheet) {
    return r.x + r.w <= sheet.width && r.y + r.h <= sheet.height;
}

} // namespace

JobOutcome runSheetCompileJob(JobDelegate& delegate, const CompileInput& input) {
    delegate.started();
    const std::string& jsonPath = input.listPath;
    const std::optional<SheetLayout> layout = readLayout(delegate, input);
    if (!layout)
        return JobOutcome::failed;
    const std::string imagePath = joinPath(folderOf(jsonPath), layout->image);
    delegate.fileStarted(imagePath, FileAccess::read);
    const FileReadResult imageFile = readWholeFile(imagePath);
    if (!imageFile.ok())
        return failOnFile(delegate, imageFile.error, imagePath);
    NearestColour nearest(input.palette);
    const SheetPicture sheet = readSheetPicture(imageFile.data, nearest, imagePath);
    if (!sheet.refusal.empty())
        return refuse(delegate, sheet.refusal, imagePath);

    const std::size_t frameCount = layout->frames.size();
    delegate.progress(0, frameCount);
    SpriteWriter writer(frameCount);
    IndexImage image;
    std::size_t added = 0;
    for (std::size_t i = 0; i < frameCount; ++i) {
        if (i < layout->repeats.size() && layout->repeats[i]) {
            writer.addDuplicate(*layout->repeats[i]);
            continue;
        }
        const SheetFrame& frame = layout->frames[i];
        if (!insideSheet(frame.frame, sheet)) {
            const std::string problem =
                fillIn(msg::kSheetFrameOutside, {std::to_string(i), layout->image});
            return refuseFrame(delegate, i, fillIn(msg::kSheetJsonBroken, {jsonPath, problem}),
                               jsonPath);
        }
        image.clear();
        for (int row = 0; row < frame.frame.h; ++row) {
            const std::size_t from =
                static_cast<std::size_t>(frame.frame.y + row) * sheet.width + frame.frame.x;
            image.copyRow(frame.placed.x, frame.placed.y + row, sheet.indices.data() + from,
                          frame.frame.w);
        }
        if (const GrpWriteError error =
                writer.addFrame(image, frame.pictureWidth, frame.pictureHeight);
            error != GrpWriteError::none)
            return refuseFrame(
                delegate, i,
                fillIn(msg::kBitmapNotFitting, {jsonPath, grpWriteErrorMessage(error, i)}),
                jsonPath);
        delegate.progress(++added, frameCount);
    }

    const std::string outputPath =
        joinPath(input.outputDir.empty() ? folderOf(jsonPath) : input.outputDir,
                 outputNameFor(layout->sprite));
    return writeCompiledSprite(delegate, outputPath, writer.finish(), input.compact);
}

} // namespace pixmorph
