#pragma once
// The progress window a conversion job runs in. Its input step runs before it is shown; the job
// runs once, when the window is first shown, and takes every input until it ends: while it
// runs, only paints and timers (the clip) are processed.

#include "app/job_windows.h"
#include "ui/template_dialog.h"

#include <variant>

namespace pixmorph::ui {

class DialogServices;

class JobWindow : public TemplateDialog, public JobWindowOps {
public:
    JobWindow(ExportWindowSetup setup, DialogServices& services, QWidget* owner);
    JobWindow(CompileWindowSetup setup, DialogServices& services, QWidget* owner);

    // The input step, then the window, modally.
    int run();

    bool jobStarted() const;
    JobOutcome outcome() const;

    void setStatus(const std::string& text) override;
    void repaintNow() override;
    void openClip(int resource) override;
    void stopClip() override;
    void playClip(int fromFrame, int toFrame, int repeatCount) override;
    void setProgressRange(int low, int high) override;
    void setProgressStep(int step) override;
    void setProgressPosition(int position) override;
    void stepProgress() override;
    void enableOk() override;
    void showMessage(const std::string& text, MessageIcon icon, const std::string& file) override;
    std::optional<ExportMode> askExportChoice() override;
    std::string pickExistingFile(const FilePickerSettings& settings) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void connectControls();
    void runJob();

    std::variant<ExportWindowLogic, CompileWindowLogic> logic_;
    DialogServices& services_;
    int statusId_;
    int progressStep_ = 1;
    bool jobQueued_ = false;
};

} // namespace pixmorph::ui
