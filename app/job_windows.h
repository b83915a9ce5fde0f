#pragma once
// The job windows' protocol: the input step of each variant, the run-once guard, and the
// hand-over from the main window's export and compile commands.

#include "app/window_ops.h"
#include "core/palette.h"
#include "jobs/job_view.h"

#include <string>

namespace pixmorph {

// A job window as the protocol sees it: the job's view plus the picker.
class JobWindowOps : public JobView {
public:
    virtual std::string pickExistingFile(const FilePickerSettings& settings) = 0;
};

struct ExportWindowSetup {
    std::string outputDir;
    bool useGivenGrp = false;
    std::string grpName;
    Palette palette;
};

struct CompileWindowSetup {
    std::string outputDir;
    Palette palette;
};

class ExportWindowLogic {
public:
    explicit ExportWindowLogic(ExportWindowSetup setup);
    // The input step: the given GRP, or the "Select File" picker.
    void initialise(JobWindowOps& window);
    // Runs the export once; repaints the job forces while it runs return at once.
    void paint(JobWindowOps& window);

    bool jobStarted() const { return jobStarted_; }
    const std::string& inputPath() const { return inputPath_; }
    JobOutcome outcome() const { return outcome_; }

private:
    ExportWindowSetup setup_;
    std::string inputPath_;
    bool jobStarted_ = false;
    JobOutcome outcome_ = JobOutcome::nothingToDo;
};

class CompileWindowLogic {
public:
    explicit CompileWindowLogic(CompileWindowSetup setup);
    // The input step: the "Locate QBL File" picker, "Aborted." on cancel, "Not a .QBL File".
    void initialise(JobWindowOps& window);
    void paint(JobWindowOps& window);

    bool jobStarted() const { return jobStarted_; }
    bool jobDone() const { return jobDone_; }
    const std::string& inputPath() const { return inputPath_; }
    JobOutcome outcome() const { return outcome_; }

private:
    CompileWindowSetup setup_;
    std::string inputPath_;
    bool jobStarted_ = false;
    bool jobDone_ = false;
    JobOutcome outcome_ = JobOutcome::nothingToDo;
};

} // namespace pixmorph
