#include "cli/cli_job_view.h"

#include "cli/terminal_text.h"

#include <algorithm>
#include <iostream>

namespace pixmorph::cli {

void printMessageLine(const std::string& file, const std::string& text) {
    std::string line = namesFile(text, file) ? text : file + ": " + text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << escapeControls(line) << '\n';
}

CliJobView::CliJobView(ExportMode mode, std::string input, bool showProgress)
    : mode_(mode), input_(std::move(input)), showProgress_(showProgress) {}

CliJobView::~CliJobView() {
    clearProgressLine();
}

void CliJobView::setProgressRange(int low, int high) {
    low_ = low;
    high_ = high;
}

void CliJobView::stepProgress() {
    position_ = std::min(position_ + step_, high_);
    if (!showProgress_)
        return;
    const long done = std::max(position_ - low_, 0);
    const long percent = high_ > low_ ? done * 100 / (high_ - low_) : 100;
    if (percent == shownPercent_)
        return;
    shownPercent_ = static_cast<int>(percent);
    std::cerr << '\r' << escapeControls(input_) << ": " << percent << '%' << std::flush;
}

void CliJobView::showMessage(const std::string& text, MessageIcon, const std::string& file) {
    clearProgressLine();
    printMessageLine(file.empty() ? input_ : file, text);
}

void CliJobView::clearProgressLine() {
    if (shownPercent_ < 0)
        return;
    std::cerr << "\r\x1b[K" << std::flush;
    shownPercent_ = -1;
}

} // namespace pixmorph::cli
