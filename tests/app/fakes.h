#pragma once
// Recording fakes of the window interfaces, answering pickers and message boxes from a script.

#include "app/file_association.h"
#include "app/job_windows.h"
#include "app/window_ops.h"
#include "jobs/recording_view.h"

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

class RecordingWindow : public WindowOps {
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
    void closeWindow(bool) override {}
    PreviewSurface& preview() override { return surface; }
    void runExportWindow(const ExportWindowSetup&) override {}
    void runCompileWindow(const CompileWindowSetup&) override {}
    void runAbout() override {}
    void runSplash() override {}

    std::map<int, std::string> texts;
    std::vector<std::string> listItems;
    int selected = -1;
    std::string pickerAnswer;                  // used once; empty: the picker is cancelled
    MessageAnswer answer = MessageAnswer::yes; // for Yes/No boxes
    std::vector<ShownMessage> messages;
    RecordingPreview surface;
};

// A job window: what the job showed, as a job view records it, and the picker's answer.
class RecordingJobWindow : public RecordingViewOf<JobWindowOps> {
public:
    std::string pickExistingFile(const FilePickerSettings&) override { return pickerAnswer; }
    std::string pickerAnswer; // empty: cancelled
};

} // namespace pixmorph::testing
