#pragma once
// Answers the program's message boxes, pickers and modal windows from a script, and records
// what was asked, so the windows can be clicked through without a person. Questions are
// answered Yes and the export choice with All.

#include "app/control_ids.h"
#include "ui/clip_player.h"
#include "ui/dialog_services.h"
#include "ui/job_window.h"
#include "ui/small_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace pixmorph::ui {

// What a job window showed when its job had ended.
struct JobSeen {
    std::string status;
    bool okEnabled = false;
    int clipFrame = -1;
    bool clipPlaying = false;
};

class ScriptedServices : public DialogServices {
public:
    std::deque<std::string> filePicks;     // "" cancels
    std::optional<std::string> folderPick; // nullopt cancels

    std::vector<std::string> messages;
    std::vector<std::string> pickerTitles;
    std::vector<std::string> windows; // "splash", "about", "choice", "job"
    std::vector<JobSeen> jobs;

    MessageAnswer showMessage(QWidget*, const std::string& text, MessageIcon, bool yesNo) override {
        messages.push_back(text);
        return yesNo ? MessageAnswer::yes : MessageAnswer::ok;
    }

    std::string pickExistingFile(const FilePickerSettings& settings) override {
        pickerTitles.push_back(settings.title);
        if (filePicks.empty())
            return {};
        std::string pick = filePicks.front();
        filePicks.pop_front();
        return pick;
    }

    std::optional<std::string> pickFolder(const std::string& title) override {
        pickerTitles.push_back(title);
        return folderPick;
    }

    int runModal(QDialog& dialog) override {
        if (auto* job = dynamic_cast<JobWindow*>(&dialog))
            return runJob(*job);
        if (auto* choice = dynamic_cast<ExportChoiceWindow*>(&dialog)) {
            windows.push_back("choice");
            choice->control<QPushButton>(ids::kChoiceAll)->click();
            return choice->result();
        }
        windows.push_back(dynamic_cast<SplashWindow*>(&dialog) ? "splash" : "about");
        return QDialog::Accepted;
    }

private:
    int runJob(JobWindow& job) {
        windows.push_back("job");
        job.show();
        // The job starts from the event loop once its window is up, and runs to its end there.
        QElapsedTimer clock;
        clock.start();
        while (!job.jobStarted() && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
        JobSeen seen;
        for (const int id : {ids::kExportStatus, ids::kCompileStatus})
            if (auto* status = job.control<QLineEdit>(id))
                seen.status = status->text().toStdString();
        seen.okEnabled = job.control<QPushButton>(ids::kJobOk)->isEnabled();
        if (auto* clip = job.control<ClipPlayer>(ids::kAnimation)) {
            seen.clipFrame = clip->currentFrame();
            seen.clipPlaying = clip->isPlaying();
        }
        jobs.push_back(seen);
        job.accept();
        return job.result();
    }
};

} // namespace pixmorph::ui
