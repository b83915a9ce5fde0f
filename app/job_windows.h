#pragma once
// The job windows: the input step of each variant, and how the job's reports appear in the
// window (status texts, clip, progress bar, OK), as the two windows have always shown them.

#include "app/window_ops.h"
#include "core/palette.h"
#include "jobs/job_delegate.h"

#include <string>
#include <variant>

namespace pixmorph {

// The clips of the job windows, by resource number, and the frame a finished clip stands on.
inline constexpr int kCompileClip = 141;
inline constexpr int kExportClip = 148;
inline constexpr int kClipLastFrame = 17;

// The progress window's own controls, as the job window logic drives them.
class JobWindowControls {
public:
    virtual ~JobWindowControls() = default;
    virtual void setStatus(const std::string& text) = 0;
    // Opens the clip by resource number and plays it from its first frame to its last, without
    // end.
    virtual void playClip(int resource) = 0;
    virtual void stopClip() = 0;
    // Stops the clip with the given frame standing as a still picture.
    virtual void showClipFrame(int frame) = 0;
    virtual void setProgressRange(int low, int high) = 0;
    // Past the end of the range the bar starts over from its low end.
    virtual void setProgressPosition(int position) = 0;
    virtual void enableOk() = 0;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // The export-choice window; nullopt when it was closed without a choice (Escape).
    virtual std::optional<ExportMode> askExportChoice() = 0;
    virtual std::string pickExistingFile(const FilePickerSettings& settings) = 0;
};

struct ExportWindowSetup {
    std::string outputDir;
    bool useGivenGrp = false;
    std::string grpName;
    Palette palette;
    // Above 0: a PNG sheet of this many columns and its JSON ("Write Out Sheet…").
    int sheetColumns = 0;
};

struct CompileWindowSetup {
    std::string outputDir;
    Palette palette;
    bool compact = false; // "Compile Compact…"
};

enum class JobState {
    waiting, // made, input step not yet taken
    refused, // the input step ended it: the job never runs
    ready,   // the job runs when the window is first shown
    running,
    ended,
};

// One job window's logic. Its reports arrive on the window's thread, wherever the job runs.
class JobWindowLogic : public JobDelegate {
public:
    JobWindowLogic(ExportWindowSetup setup, JobWindowControls& controls);
    JobWindowLogic(CompileWindowSetup setup, JobWindowControls& controls);

    // The input step, before the window is shown: the export takes the given GRP or asks for
    // one with "Select File"; the compile asks with "Locate QBL File" ("Aborted." when
    // cancelled, "Not a .QBL File" for another name).
    void initialise();
    JobState state() const { return state_; }
    JobOutcome outcome() const { return outcome_; }

    // The job's run, on the window's thread: begin (false unless the job is ready), then run it
    // on any thread, reporting to `delegate` (this logic itself, or a delegate that hands the
    // reports to the window's thread), then end it with the run's outcome.
    bool beginJob();
    JobOutcome runJob(JobDelegate& delegate) const;
    void endJob(JobOutcome outcome);

    std::optional<ExportMode> chooseExportMode() override;
    void started() override;
    void progress(std::size_t done, std::size_t total) override;
    void message(const std::string& text, MessageIcon icon, const std::string& file) override;
    void finished() override;
    void failed() override;
    void cancelled() override;

private:
    // Every way a window's job ends short of "Finished" leaves the window with its status
    // saying so, the clip still and OK enabled, so the window can always be closed.
    void stopShort(std::string_view status);

    bool isExport() const { return setup_.index() == 0; }

    std::variant<ExportWindowSetup, CompileWindowSetup> setup_;
    JobWindowControls& controls_;
    std::string inputPath_;
    JobState state_ = JobState::waiting;
    JobOutcome outcome_ = JobOutcome::nothingToDo;
};

} // namespace pixmorph
