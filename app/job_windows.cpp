#include "app/job_windows.h"

#include "core/text_rules.h"
#include "jobs/compile_job.h"
#include "jobs/export_job.h"

#include <utility>

namespace pixmorph {

JobWindowLogic::JobWindowLogic(ExportWindowSetup setup, JobWindowControls& controls)
    : setup_(std::move(setup)), controls_(controls) {}

JobWindowLogic::JobWindowLogic(CompileWindowSetup setup, JobWindowControls& controls)
    : setup_(std::move(setup)), controls_(controls) {}

void JobWindowLogic::initialise() {
    if (auto* exportSetup = std::get_if<ExportWindowSetup>(&setup_)) {
        // A cancelled picker leaves the input empty: the job then asks its question and stops
        // without writing anything.
        inputPath_ = exportSetup->useGivenGrp ? exportSetup->grpName
                                              : controls_.pickExistingFile(grpPicker());
        state_ = JobState::ready;
        return;
    }
    inputPath_ = controls_.pickExistingFile(qblPicker());
    state_ = JobState::refused;
    if (inputPath_.empty()) {
        controls_.setStatus(std::string(msg::kAborted));
        controls_.enableOk();
    } else if (!isQblPath(inputPath_) && !endsWithIgnoringCase(inputPath_, ".json")) {
        controls_.showMessage(std::string(msg::kNotQbl), MessageIcon::exclamation);
        stopShort(msg::kJobStopped);
    } else {
        state_ = JobState::ready;
    }
}

bool JobWindowLogic::beginJob() {
    if (state_ != JobState::ready)
        return false;
    state_ = JobState::running;
    return true;
}

JobOutcome JobWindowLogic::runJob(JobDelegate& delegate) const {
    if (const auto* exportSetup = std::get_if<ExportWindowSetup>(&setup_)) {
        ExportInput input{inputPath_, exportSetup->outputDir, exportSetup->palette};
        if (exportSetup->sheetColumns > 0) {
            input.format = PictureFormat::png;
            input.sheetColumns = exportSetup->sheetColumns;
        }
        return runExportJob(delegate, input);
    }
    const auto& compileSetup = std::get<CompileWindowSetup>(setup_);
    CompileInput input{inputPath_, compileSetup.outputDir, compileSetup.palette};
    input.compact = compileSetup.compact;
    return runCompileJob(delegate, input);
}

void JobWindowLogic::endJob(JobOutcome outcome) {
    state_ = JobState::ended;
    outcome_ = outcome;
    // A run with nothing to do (no sprite given) reports no end of its own.
    if (outcome == JobOutcome::nothingToDo)
        stopShort(msg::kAborted);
}

std::optional<ExportMode> JobWindowLogic::chooseExportMode() {
    return controls_.askExportChoice();
}

void JobWindowLogic::started() {
    if (isExport()) {
        controls_.setStatus(std::string(msg::kExportStatus));
        controls_.playClip(kExportClip);
    } else {
        // The compile's clip starts once its list has been read.
        controls_.setStatus(std::string(msg::kCompileStatus));
    }
}

void JobWindowLogic::progress(std::size_t done, std::size_t total) {
    if (done > 0) {
        controls_.setProgressPosition(static_cast<int>(1 + done));
        return;
    }
    if (!isExport())
        controls_.playClip(kCompileClip);
    // The export's bar has a step more than the sprite has frames.
    controls_.setProgressRange(1, static_cast<int>(total + (isExport() ? 1 : 0)));
    controls_.setProgressPosition(1);
}

void JobWindowLogic::message(const std::string& text, MessageIcon icon, const std::string&) {
    controls_.showMessage(text, icon);
}

void JobWindowLogic::finished() {
    if (!isExport())
        controls_.setProgressPosition(0);
    controls_.setStatus(std::string(isExport() ? msg::kExportFinished : msg::kCompileFinished));
    controls_.showClipFrame(kClipLastFrame);
    controls_.enableOk();
}

void JobWindowLogic::failed() {
    stopShort(msg::kJobStopped);
}

void JobWindowLogic::cancelled() {
    stopShort(msg::kAborted);
}

void JobWindowLogic::stopShort(std::string_view status) {
    controls_.setStatus(std::string(status));
    controls_.stopClip();
    controls_.enableOk();
}

} // namespace pixmorph
