#pragma once
// Recording fakes of the window's groups of operations, answering pickers and message boxes
// from a script, and a settings store in memory.

#include "app/job_windows.h"
#include "app/settings_store.h"
#include "app/window_ops.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph::testing {

struct ShownMessage {
    std::string text;
    MessageIcon icon = MessageIcon::exclamation;
};

class RecordingPreview : public PreviewSurface {
public:
    void beginFrame() override {}
    void setPixel(int x, int y, std::uint32_t colour) override { pixels[{x, y}] = colour; }
    void fillPreviewBlack() override {}
    void stretchToWindow(int, int, int, int, int, int) override {}
    void endFrame() override {}

    std::map<std::pair<int, int>, std::uint32_t> pixels;
};

// The groups a frame is shown and a palette or an archive is chosen through; no child windows.
class RecordingWindow : public ControlOps, public ListOps, public MessageOps, public PickerOps {
public:
    void setControlText(int id, const std::string& text) override { texts[id] = text; }
    bool isChecked(int) const override { return false; }
    void setChecked(int, bool) override {}
    void enableControl(int, bool) override {}
    void repaintNow() override {}
    void clearList() override { listItems.clear(); }
    void addListItem(const std::string& text) override { listItems.push_back(text); }
    void selectFirstListItem() override { selected = listItems.empty() ? -1 : 0; }
    int listCount() const override { return static_cast<int>(listItems.size()); }
    std::string selectedListText() const override {
        return selected >= 0 && selected < listCount() ? listItems[selected] : "";
    }
    MessageAnswer showMessage(const std::string& text, MessageIcon icon, bool yesNo) override {
        messages.push_back({text, icon});
        return yesNo ? answer : MessageAnswer::ok;
    }
    std::string pickExistingFile(const FilePickerSettings&) override {
        return std::exchange(pickerAnswer, "");
    }
    std::optional<std::string> pickFolder(const std::string&) override { return std::nullopt; }

    FrameWindow frameWindow() { return {*this, *this, surface}; }

    std::map<int, std::string> texts;
    std::vector<std::string> listItems;
    int selected = -1;
    std::string pickerAnswer;                  // used once; empty: the picker is cancelled
    MessageAnswer answer = MessageAnswer::yes; // for Yes/No boxes
    std::vector<ShownMessage> messages;
    RecordingPreview surface;
};

// A job window's controls, each call written down as a line; messages as "!" or "stop", "|",
// text.
class RecordingJobWindow : public JobWindowControls {
public:
    void setStatus(const std::string& text) override { calls.push_back("status " + text); }
    void playClip(int clip) override { calls.push_back("clip " + std::to_string(clip)); }
    void stopClip() override { calls.push_back("stop"); }
    void showClipFrame(int frame) override { calls.push_back("still " + std::to_string(frame)); }
    void setProgressRange(int low, int high) override {
        calls.push_back("range " + std::to_string(low) + " " + std::to_string(high));
    }
    void setProgressPosition(int at) override { calls.push_back("position " + std::to_string(at)); }
    void enableOk() override { calls.push_back("ok"); }
    void showMessage(const std::string& text, MessageIcon icon) override {
        calls.push_back("message");
        messages.push_back((icon == MessageIcon::stop ? "stop | " : "! | ") + text);
    }
    std::optional<ExportMode> askExportChoice() override {
        calls.push_back("ask");
        return choice;
    }
    std::string pickExistingFile(const FilePickerSettings&) override { return pickerAnswer; }

    std::vector<std::string> calls, messages;
    std::optional<ExportMode> choice = ExportMode::all;
    std::string pickerAnswer; // empty: cancelled
};

// Runs a job window's job where the test runs, the logic its own delegate.
inline void runJobHere(JobWindowLogic& logic) {
    if (logic.beginJob())
        logic.endJob(logic.runJob(logic));
}

// A job window's input step and its job, run where the test runs.
template <typename Setup> JobOutcome runJobWindow(Setup setup, RecordingJobWindow& window) {
    JobWindowLogic logic(std::move(setup), window);
    logic.initialise();
    runJobHere(logic);
    return logic.outcome();
}

// A settings store in memory that remembers the order of its writes.
class MemorySettingsStore : public SettingsStore {
public:
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) override {
        const auto found = values.find({section, name});
        return found == values.end() ? defaultValue : found->second;
    }
    void setString(const std::string& section, const std::string& name,
                   const std::string& value) override {
        values[{section, name}] = value;
        writes.emplace_back(section, name);
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes; // (section, name) in order
};

} // namespace pixmorph::testing
