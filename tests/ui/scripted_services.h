#pragma once
// Answers message boxes Yes, the export choice All and pickers from a script, recording each;
// a main window built on it, and the sprites the window tests show.

#include "app/control_ids.h"
#include "app/file_association.h"
#include "archive/archive_library.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "ui/clip_player.h"
#include "ui/dialog_services.h"
#include "ui/job_window.h"
#include "ui/main_window.h"
#include "ui/small_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph::ui {

// Runs the event loop until the condition holds or the time is up.
inline void processEventsUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A sprite of width x height whose frame f (from 1) is a box of boxWidth x boxHeight at the
// corner in palette entry 10 f.
inline void writeSprite(const std::string& path, std::uint32_t frames, int width, int height,
                        int boxWidth, int boxHeight) {
    SpriteWriter writer(frames);
    for (std::uint32_t frame = 1; frame <= frames; ++frame) {
        IndexImage image;
        for (int y = 0; y < boxHeight; ++y)
            for (int x = 0; x < boxWidth; ++x)
                image.set(x, y, 10 * frame);
        ASSERT_EQ(writer.addFrame(image, width, height), GrpWriteError::none);
    }
    ASSERT_EQ(writeFileAtomically(path, writer.finish()), FileErrorCause::none);
}

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
        processEventsUntil(
            [job] {
                return job->jobState() != JobState::ready && job->jobState() != JobState::running;
            },
            10000);
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

// The main window over a state, with no archive library and the scripted services.
struct WindowUnderTest {
    explicit WindowUnderTest(ConverterState given = {}) : state(std::move(given)) {}
    std::string text(int id) { return window.control<QLineEdit>(id)->text().toStdString(); }
    void click(int id) { window.control<QAbstractButton>(id)->click(); }
    ConverterState state;
    ArchiveLibrary archive{nullptr};
    NoAssociation association;
    ScriptedServices services;
    MainWindow window{state, archive, association, "/opt/pixmorph/Pixmorph", services};
};

} // namespace pixmorph::ui
