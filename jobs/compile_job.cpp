#include "jobs/compile_job.h"

#include "core/file_io.h"
#include "core/frame_picture.h"
#include "core/frame_ranges.h"
#include "core/grp_format.h"
#include "core/qbl_list.h"
#include "core/read_ahead.h"
#include "jobs/job_steps.h"
#include "jobs/sheet_compile.h"
#include "jobs/sheet_json.h"

#include <limits>
#include <optional>
#include <vector>

namespace pixmorph {

namespace {

constexpr std::size_t kMaxFrames = std::numeric_limits<std::uint16_t>::max();

struct Refusal {
    std::string text;
    std::string file;
};

// Checked before any bitmap is read, so a bad entry late in a long list is refused at once.
std::optional<Refusal> refuseDupes(const QblList& list, const DupeFrames& dupes,
                                   const std::string& listPath) {
    if (!dupes.unresolved)
        return std::nullopt;
    const std::size_t i = *dupes.unresolved;
    return Refusal{fillIn(msg::kDupeNotEarlier, {listPath, std::to_string(i), list.frames[i]}),
                   listPath};
}

std::optional<Refusal> refuseList(const QblList& list, const std::string& listPath) {
    if (list.status != QblReadStatus::ok)
        return Refusal{qblReadMessage(list), listPath};
    // The GRP is written under this name: a folder in it could place the file anywhere.
    if (list.grpName.find_first_of("/\\") != std::string::npos)
        return Refusal{fillIn(msg::kListGrpNameNotBare, {listPath, list.grpName}), listPath};
    if (list.listedFrames > kMaxFrames)
        return Refusal{fillIn(msg::kListTooLong, {listPath, std::to_string(list.listedFrames)}),
                       listPath};
    return std::nullopt;
}

} // namespace

JobOutcome runCompileJob(JobDelegate& delegate, const CompileInput& input) {
    if (isSheetJsonPath(input.listPath))
        return runSheetCompileJob(delegate, input);
    delegate.started();
    const std::string& listPath = input.listPath;
    delegate.fileStarted(listPath, FileAccess::read);
    const FileReadResult listFile = readWholeFile(listPath);
    if (!listFile.ok())
        return failOnFile(delegate, listFile.error, listPath);
    QblList list = readQblList(std::string_view(reinterpret_cast<const char*>(listFile.data.data()),
                                                listFile.data.size()));
    std::optional<Refusal> refusal = refuseList(list, listPath);
    if (const auto fullCount = takePartialNote(list); fullCount && !input.partial)
        refusal = Refusal{fillIn(msg::kPartialList, {listPath, std::to_string(list.frames.size()),
                                                     std::to_string(*fullCount)}),
                          listPath};
    DupeFrames plan;
    if (!refusal) {
        plan = resolveDupes(list.frames);
        refusal = refuseDupes(list, plan, listPath);
    }
    if (refusal)
        return refuse(delegate, refusal->text, refusal->file);

    const std::string listFolder = folderOf(listPath);
    const std::string outputPath = joinPath(input.outputDir.empty() ? listFolder : input.outputDir,
                                            outputNameFor(list.grpName));
    const std::size_t frameCount = list.frames.size();
    SpriteWriter writer(frameCount, input.encoding);
    delegate.progress(0, frameCount);

    std::vector<std::string> bitmapPaths;
    for (std::size_t i = 0; i < frameCount; ++i)
        if (!plan.repeats[i])
            bitmapPaths.push_back(joinPath(listFolder, list.frames[i]));
    FilesReadAhead bitmaps(bitmapPaths);
    std::size_t nextBitmap = 0;

    NearestColour nearest(input.palette);
    IndexImage image;
    for (std::size_t i = 0; i < frameCount; ++i) {
        if (const auto original = plan.repeats[i]) {
            writer.addDuplicate(*original);
            continue;
        }
        const std::string& bitmapPath = bitmapPaths[nextBitmap++];
        delegate.fileStarted(bitmapPath, FileAccess::read);
        const FileReadResult bitmap = bitmaps.next();
        if (!bitmap.ok())
            return failOnFile(delegate, bitmap.error, bitmapPath);
        const FramePicture read = readFramePicture(bitmap.data, nearest, image, bitmapPath);
        if (!read.refusal.empty())
            refusal = Refusal{read.refusal, bitmapPath};
        if (!refusal) {
            if (const GrpWriteError error = writer.addFrame(image, read.width, read.height);
                error != GrpWriteError::none)
                refusal = Refusal{
                    fillIn(msg::kBitmapNotFitting, {bitmapPath, grpWriteErrorMessage(error, i)}),
                    bitmapPath};
        }
        if (refusal)
            return refuseFrame(delegate, i, refusal->text, refusal->file);
        delegate.progress(nextBitmap, frameCount);
    }

    ByteVector sprite = writer.finish();
    // Rare frames whose raw bytes also read soundly as run-length rows would come back as
    // another picture: refused rather than written wrong.
    if (frameCount > 0 && detectSpriteEncoding(sprite) != input.encoding) {
        refuse(delegate, fillIn(msg::kUncompressedAmbiguous, {outputPath}), outputPath);
        return JobOutcome::failed;
    }
    return writeCompiledSprite(delegate, outputPath, std::move(sprite), input.compact);
}

} // namespace pixmorph
