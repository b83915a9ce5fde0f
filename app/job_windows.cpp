#include "app/job_windows.h"

#include "core/text_rules.h"
#include "jobs/compile_job.h"
#include "jobs/export_job.h"

#include <utility>

namespace pixmorph {

ExportWindowLogic::ExportWindowLogic(ExportWindowSetup setup) : setup_(std::move(setup)) {}

void ExportWindowLogic::initialise(JobWindowOps& window) {
    jobStarted_ = false;
    if (setup_.useGivenGrp) {
        window.repaintNow();
        inputPath_ = setup_.grpName;
        return;
    }
    // A cancelled picker leaves the input empty: the job then stops at once and writes nothing.
    const std::string path = window.pickExistingFile(grpPicker());
    if (path.empty())
        return;
    inputPath_ = path;
    setup_.grpName = path;
    window.repaintNow();
}

void ExportWindowLogic::paint(JobWindowOps& window) {
    // The job repaints its window while it runs; those paints arrive here and must not start
    // it again, so the flag is set before the job starts.
    if (jobStarted_)
        return;
    jobStarted_ = true;
    outcome_ = RunExport(window, ExportInput{inputPath_, setup_.outputDir, setup_.palette});
}

CompileWindowLogic::CompileWindowLogic(CompileWindowSetup setup) : setup_(std::move(setup)) {}

void CompileWindowLogic::initialise(JobWindowOps& window) {
    jobStarted_ = false;
    jobDone_ = false;
    const std::string path = window.pickExistingFile(qblPicker());
    if (path.empty()) {
        window.setStatus(std::string(msg::kAborted));
        jobDone_ = true;
        jobStarted_ = true;
    }
    inputPath_ = path;
    if (!jobStarted_ && !isQblPath(inputPath_)) {
        window.showMessage(std::string(msg::kNotQbl), MessageIcon::exclamation, inputPath_);
        jobStarted_ = true;
    }
    if (jobDone_)
        window.enableOk();
}

void CompileWindowLogic::paint(JobWindowOps& window) {
    if (!jobStarted_) {
        jobStarted_ = true;
        outcome_ =
            compileSprite(window, CompileInput{inputPath_, setup_.outputDir, setup_.palette});
    }
    if (jobDone_)
        window.enableOk();
}

} // namespace pixmorph
