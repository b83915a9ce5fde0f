#include "cli/cli_job_delegate.h"

#include "cli/terminal_text.h"

#include <algorithm>
#include <iostream>

namespace pixmorph::cli {

void printMessageLine(const std::string& file, const std::string& text) {
    std::string line = namesFile(text, file) ? text : file + ": " + text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << escapeControls(line) << '\n';
}

CliJobDelegate::CliJobDelegate(ExportMode mode, std::string input, bool showProgress)
    : mode_(mode), input_(std::move(input)), showProgress_(showProgress) {}

CliJobDelegate::~CliJobDelegate() {
    clearProgressLine();
}

void CliJobDelegate::progress(std::size_t done, std::size_t total) {
    if (!showProgress_ || done == 0)
        return;
    const auto percent = static_cast<int>(total > 0 ? std::min(done, total) * 100 / total : 100);
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    std::cerr << '\r' << escapeControls(input_) << ": " << percent << '%' << std::flush;
}

void CliJobDelegate::message(const std::string& text, MessageIcon, const std::string& file) {
    clearProgressLine();
    printMessageLine(file.empty() ? input_ : file, text);
}

void CliJobDelegate::clearProgressLine() {
    if (shownPercent_ < 0)
        return;
    std::cerr << "\r\x1b[K" << std::flush;
    shownPercent_ = -1;
}

} // namespace pixmorph::cli
