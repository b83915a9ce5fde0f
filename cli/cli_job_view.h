#pragma once
// The job view of the command line: messages go to stderr as one line each, prefixed by the
// file they concern; the export choice comes from --unique; a progress line is drawn when
// stderr is a terminal.

#include "jobs/job_view.h"

#include <string>

namespace pixmorph::cli {

// One line on stderr: "file: text", or the text alone when it names the file itself; line
// breaks as blanks, control characters escaped.
void printMessageLine(const std::string& file, const std::string& text);

class CliJobView final : public JobView {
public:
    // input: the file the job works on, the prefix of messages that name no file of their own.
    CliJobView(ExportMode mode, std::string input, bool showProgress);
    ~CliJobView() override;

    void setStatus(const std::string&) override {}
    void repaintNow() override {}
    void openClip(int) override {}
    void stopClip() override {}
    void playClip(int, int, int) override {}
    void setProgressRange(int low, int high) override;
    void setProgressStep(int step) override { step_ = step; }
    void setProgressPosition(int position) override { position_ = position; }
    void stepProgress() override;
    void enableOk() override {}
    void showMessage(const std::string& text, MessageIcon icon, const std::string& file) override;
    std::optional<ExportMode> askExportChoice() override { return mode_; }

private:
    void clearProgressLine();

    ExportMode mode_;
    std::string input_;
    bool showProgress_;
    int low_ = 0;
    int high_ = 0;
    int step_ = 1;
    int position_ = 0;
    int shownPercent_ = -1;
};

} // namespace pixmorph::cli
