#pragma once
// A job view that writes down every call as a line, so a test compares the whole sequence a
// job showed its window. Base is the job view or an interface that extends it.

#include "jobs/job_view.h"

#include <string>
#include <vector>

namespace pixmorph::testing {

template <typename Base> class RecordingViewOf : public Base {
public:
    explicit RecordingViewOf(std::optional<ExportMode> choice = ExportMode::all) : choice(choice) {}

    std::vector<std::string> calls, messages; // messages: "!" or "stop", file, "|", text
    std::string status;
    bool okEnabled = false;
    std::optional<ExportMode> choice; // the answer to the export choice

    void setStatus(const std::string& text) override { log("status " + (status = text)); }
    void repaintNow() override { log("repaint"); }
    void openClip(int clip) override { log("open", clip); }
    void stopClip() override { log("stop"); }
    void playClip(int from, int to, int repeats) override { log("play", from, to, repeats); }
    void setProgressRange(int low, int high) override { log("range", low, high); }
    void setProgressStep(int step) override { log("step", step); }
    void setProgressPosition(int at) override { log("position", at); }
    void stepProgress() override { log("advance"); }
    void enableOk() override { log("ok"), okEnabled = true; }
    void showMessage(const std::string& text, MessageIcon icon, const std::string& file) override {
        log("message");
        messages.push_back((icon == MessageIcon::stop ? "stop " : "! ") + file + " | " + text);
    }
    std::optional<ExportMode> askExportChoice() override { return log("ask"), choice; }

private:
    void log(std::string call, auto... numbers) {
        ((call += " " + std::to_string(numbers)), ...);
        calls.push_back(call);
    }
};

using RecordingView = RecordingViewOf<JobView>;

} // namespace pixmorph::testing
