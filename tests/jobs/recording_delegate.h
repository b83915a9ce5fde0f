#pragma once
// A job delegate that writes down every report as a line, so a test compares the whole
// sequence a job reported. Files are named without their folder.

#include "jobs/job_delegate.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pixmorph::testing {

class RecordingDelegate : public JobDelegate {
public:
    explicit RecordingDelegate(std::optional<ExportMode> choice = ExportMode::all)
        : choice(choice) {}

    std::vector<std::string> events, messages; // messages: "!" or "stop", file, "|", text
    std::optional<ExportMode> choice;          // the answer to the export's question

    std::optional<ExportMode> chooseExportMode() override { return log("ask"), choice; }
    void started() override { log("started"); }
    void fileStarted(const std::string& path, FileAccess access) override {
        log((access == FileAccess::read ? "read " : "write ") +
            std::filesystem::path(path).filename().string());
    }
    void progress(std::size_t done, std::size_t total) override {
        log("progress " + std::to_string(done) + " " + std::to_string(total));
    }
    void frameRefused(std::size_t frame) override { log("refused " + std::to_string(frame)); }
    void message(const std::string& text, MessageIcon icon, const std::string& file) override {
        log("message");
        messages.push_back((icon == MessageIcon::stop ? "stop " : "! ") + file + " | " + text);
    }
    void finished() override { log("finished"); }
    void failed() override { log("failed"); }
    void cancelled() override { log("cancelled"); }

private:
    void log(const std::string& event) { events.push_back(event); }
};

} // namespace pixmorph::testing
