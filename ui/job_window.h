#pragma once
// The progress window a conversion job runs in. Its input step runs before it is shown; the job
// runs once, on a worker thread, from the moment the window is up. The window's event loop
// keeps running: the job's reports arrive as queued calls, and a close asked for while the job
// runs (Escape, Enter, the close box) takes effect when it ends.

#include "app/job_windows.h"
#include "ui/template_dialog.h"

#include <optional>
#include <thread>

namespace pixmorph::ui {

class DialogServices;

class JobWindow : public TemplateDialog, public JobWindowControls {
public:
    JobWindow(ExportWindowSetup setup, DialogServices& services, QWidget* owner);
    JobWindow(CompileWindowSetup setup, DialogServices& services, QWidget* owner);
    ~JobWindow() override;

    // The input step, then the window, modally.
    int run();

    JobState jobState() const { return logic_.state(); }
    JobOutcome outcome() const { return logic_.outcome(); }

    void setStatus(const std::string& text) override;
    void playClip(int resource) override;
    void stopClip() override;
    void showClipFrame(int frame) override;
    void setProgressRange(int low, int high) override;
    void setProgressPosition(int position) override;
    void enableOk() override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    std::optional<ExportMode> askExportChoice() override;
    std::string pickExistingFile(const FilePickerSettings& settings) override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void connectControls();
    void startJob();
    void jobEnded(JobOutcome outcome);

    JobWindowLogic logic_;
    DialogServices& services_;
    int statusId_;
    std::optional<int> closeAsked_;
    std::thread worker_;
};

} // namespace pixmorph::ui
