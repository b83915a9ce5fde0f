#pragma once
// Answers message boxes Yes, the export choice All and pickers from a script, recording each.

#include "app/control_ids.h"
#include "app/file_association.h"
#include "ui/clip_player.h"
#include "ui/dialog_services.h"
#include "ui/job_window.h"
#include "ui/small_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph::ui {

// The main window's file association, which the tests leave alone.
struct NoAssociation : FileAssociationSink {
    void registerFileType(const FileAssociation&) override {}
};

class ScriptedServices : public DialogServices {
public:
    std::string filePick; // used once; "" cancels
    std::vector<std::string> messages, pickerTitles;
    std::vector<std::string> windows; // "splash", "about", "choice", "job"
    std::vector<std::string> jobs;    // each job's status and clip frame at its end

    MessageAnswer showMessage(QWidget*, const std::string& text, MessageIcon, bool yesNo) override {
        messages.push_back(text);
        return yesNo ? MessageAnswer::yes : MessageAnswer::ok;
    }
    std::string pickExistingFile(const FilePickerSettings& settings) override {
        pickerTitles.push_back(settings.title);
        return std::exchange(filePick, "");
    }
    std::optional<std::string> pickFolder(const std::string&) override { return std::nullopt; }

    int runModal(QDialog& dialog) override {
        if (auto* choice = dynamic_cast<ExportChoiceWindow*>(&dialog)) {
            windows.push_back("choice");
            choice->control<QPushButton>(ids::kChoiceAll)->click();
            return choice->result();
        }
        auto* job = dynamic_cast<JobWindow*>(&dialog);
        windows.push_back(job ? "job" : dynamic_cast<SplashWindow*>(&dialog) ? "splash" : "about");
        if (!job)
            return QDialog::Accepted;
        job->show(); // the job starts from the event loop once its window is up
        QElapsedTimer clock;
        clock.start();
        const auto busy = [job] {
            return job->jobState() == JobState::ready || job->jobState() == JobState::running;
        };
        while (busy() && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
        for (const int id : {ids::kExportStatus, ids::kCompileStatus})
            if (auto* status = job->control<QLineEdit>(id))
                jobs.push_back(status->text().toStdString());
        if (auto* clip = job->control<ClipPlayer>(ids::kAnimation))
            jobs.back() += " " + std::to_string(clip->currentFrame());
        if (job->isVisible())
            job->accept();
        return job->result();
    }
};

} // namespace pixmorph::ui
