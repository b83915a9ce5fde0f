#pragma once
// The command line's job delegate: messages go to stderr as one line each, prefixed by the file
// they concern; the export's question is answered by --unique; a progress line is drawn when
// stderr is a terminal.

#include "jobs/job_delegate.h"

#include <string>

namespace pixmorph::cli {

// One line on stderr: "file: text", or the text alone when it names the file itself; line
// breaks as blanks, control characters escaped.
void printMessageLine(const std::string& file, const std::string& text);

class CliJobDelegate final : public JobDelegate {
public:
    // input: the file the job works on, the prefix of messages that name no file of their own.
    CliJobDelegate(ExportMode mode, std::string input, bool showProgress);
    ~CliJobDelegate() override;

    std::optional<ExportMode> chooseExportMode() override { return mode_; }
    void progress(std::size_t done, std::size_t total) override;
    void message(const std::string& text, MessageIcon icon, const std::string& file) override;

private:
    void clearProgressLine();

    ExportMode mode_;
    std::string input_;
    bool showProgress_;
    int shownPercent_ = -1;
};

} // namespace pixmorph::cli
