#pragma once
// Recording fakes of the window interfaces: they remember what the logic did, in order, and
// answer pickers and message boxes from scripted answers, so the logic runs without a display.

#include "app/file_association.h"
#include "app/job_windows.h"
#include "app/window_ops.h"
#include "jobs/recording_view.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pixmorph::testing {

struct ShownMessage {
    std::string text;
    MessageIcon icon = MessageIcon::exclamation;
};

struct Stretch {
    int srcWidth, srcHeight, left, top, width, height;
    bool operator==(const Stretch&) const = default;
};

class RecordingPreview : public PreviewSurface {
public:
    void beginFrame() override { events.push_back("begin"); }
    void setPixel(int x, int y, std::uint32_t colour) override { pixels[{x, y}] = colour; }
    void fillPreviewBlack() override { events.push_back("black"); }
    void stretchToWindow(int sw, int sh, int left, int top, int w, int h) override {
        stretches.push_back({sw, sh, left, top, w, h});
    }
    void endFrame() override { events.push_back("end"); }
    std::optional<std::uint32_t> pixel(int x, int y) const {
        const auto found = pixels.find({x, y});
        return found == pixels.end() ? std::nullopt : std::optional(found->second);
    }

    std::vector<std::string> events; // begin, black fills, end
    std::map<std::pair<int, int>, std::uint32_t> pixels;
    std::vector<Stretch> stretches;
};

class RecordingWindow : public WindowOps {
public:
    void setControlText(int id, const std::string& text) override { texts[id] = text; }
    bool isChecked(int id) const override { return checked.count(id) && checked.at(id); }
    void setChecked(int id, bool value) override { checked[id] = value; }
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
        log.push_back("message");
        return yesNo ? answer : MessageAnswer::ok;
    }
    std::string pickExistingFile(const FilePickerSettings& settings) override {
        pickerTitles.push_back(settings.title);
        std::string chosen = pickerAnswers.empty() ? "" : pickerAnswers.front();
        if (!pickerAnswers.empty())
            pickerAnswers.pop_front();
        return chosen;
    }
    std::optional<std::string> pickFolder(const std::string&) override { return folderAnswer; }
    void closeWindow(bool) override {}
    PreviewSurface& preview() override { return surface; }
    void runExportWindow(const ExportWindowSetup&) override {}
    void runCompileWindow(const CompileWindowSetup&) override {}
    void runAbout() override { log.push_back("about"); }
    void runSplash() override { log.push_back("splash"); }

    std::map<int, std::string> texts;
    std::map<int, bool> checked;
    std::vector<std::string> listItems;
    int selected = -1;
    std::deque<std::string> pickerAnswers; // none left: the picker is cancelled
    std::vector<std::string> pickerTitles;
    std::optional<std::string> folderAnswer;   // nullopt: cancelled
    MessageAnswer answer = MessageAnswer::yes; // for Yes/No boxes
    std::vector<ShownMessage> messages;
    std::vector<std::string> log; // messages and small windows, in order
    RecordingPreview surface;
};

// Appends "association" to a shared log, so its order against the window's steps shows.
class RecordingAssociation : public FileAssociationSink {
public:
    explicit RecordingAssociation(std::vector<std::string>& log) : log_(log) {}
    void registerFileType(const FileAssociation& association) override {
        registered.push_back(association);
        log_.push_back("association");
    }
    std::vector<FileAssociation> registered;

private:
    std::vector<std::string>& log_;
};

// A job window: what the job showed, as a job view records it, and the picker's answer.
class RecordingJobWindow : public RecordingViewOf<JobWindowOps> {
public:
    std::string pickExistingFile(const FilePickerSettings& settings) override {
        pickerTitles.push_back(settings.title);
        return pickerAnswer;
    }
    std::string pickerAnswer; // empty: cancelled
    std::vector<std::string> pickerTitles;
};

} // namespace pixmorph::testing
