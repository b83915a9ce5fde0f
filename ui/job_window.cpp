#include "ui/job_window.h"

#include "app/control_ids.h"
#include "ui/clip_player.h"
#include "ui/dialog_services.h"
#include "ui/queued_job_delegate.h"
#include "ui/small_windows.h"
#include "ui/status_field_fit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace pixmorph::ui {

JobWindow::JobWindow(ExportWindowSetup setup, DialogServices& services, QWidget* owner)
    : TemplateDialog(exportJobTemplate(), owner), logic_(std::move(setup), *this),
      services_(services), statusId_(ids::kExportStatus) {
    connectControls();
}

JobWindow::JobWindow(CompileWindowSetup setup, DialogServices& services, QWidget* owner)
    : TemplateDialog(compileJobTemplate(), owner), logic_(std::move(setup), *this),
      services_(services), statusId_(ids::kCompileStatus) {
    connectControls();
}

JobWindow::~JobWindow() {
    if (worker_.joinable())
        worker_.join();
}

void JobWindow::connectControls() {
    setWindowTitle(QStringLiteral("Pixmorph")); // not shown; names the window to the desktop
    if (auto* status = control<QLineEdit>(statusId_))
        growToFitText(*status);
    connect(control<QPushButton>(ids::kJobOk), &QPushButton::clicked, this, &QDialog::accept);
}

int JobWindow::run() {
    logic_.initialise();
    return services_.runModal(*this);
}

void JobWindow::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    // After the show has been handled, so the window is up before the job reports.
    QMetaObject::invokeMethod(this, &JobWindow::startJob, Qt::QueuedConnection);
}

void JobWindow::startJob() {
    if (!logic_.beginJob())
        return;
    worker_ = std::thread([this] {
        QueuedJobDelegate delegate(*this, logic_);
        const JobOutcome outcome = logic_.runJob(delegate);
        QMetaObject::invokeMethod(
            this, [this, outcome] { jobEnded(outcome); }, Qt::QueuedConnection);
    });
}

void JobWindow::jobEnded(JobOutcome outcome) {
    worker_.join();
    logic_.endJob(outcome);
    if (const std::optional<int> result = std::exchange(closeAsked_, std::nullopt))
        TemplateDialog::done(*result);
}

void JobWindow::done(int result) {
    // The window takes no close while its job runs; one asked for then follows the job's end.
    if (logic_.state() == JobState::running) {
        closeAsked_ = result;
        return;
    }
    TemplateDialog::done(result);
}

void JobWindow::keyPressEvent(QKeyEvent* event) {
    // Enter closes the window whether OK is enabled or not, as Escape does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    TemplateDialog::keyPressEvent(event);
}

void JobWindow::setStatus(const std::string& text) {
    auto* status = control<QLineEdit>(statusId_);
    status->setText(QString::fromStdString(text));
    status->setCursorPosition(0);
}

void JobWindow::playClip(int resource) {
    auto* clip = control<ClipPlayer>(ids::kAnimation);
    if (clip->open(resource))
        clip->play(0, -1, -1);
}

void JobWindow::stopClip() {
    control<ClipPlayer>(ids::kAnimation)->stop();
}

void JobWindow::showClipFrame(int frame) {
    auto* clip = control<ClipPlayer>(ids::kAnimation);
    clip->stop();
    clip->play(frame, frame, 0);
}

void JobWindow::setProgressRange(int low, int high) {
    control<QProgressBar>(ids::kProgress)->setRange(low, std::max(low, high));
}

void JobWindow::setProgressPosition(int position) {
    // Past the end the bar starts over, as the system's bar does when stepped.
    auto* bar = control<QProgressBar>(ids::kProgress);
    bar->setValue(position > bar->maximum() ? bar->minimum()
                                            : std::clamp(position, bar->minimum(), bar->maximum()));
}

void JobWindow::enableOk() {
    control<QPushButton>(ids::kJobOk)->setEnabled(true);
}

void JobWindow::showMessage(const std::string& text, MessageIcon icon) {
    services_.showMessage(this, text, icon, false);
}

std::optional<ExportMode> JobWindow::askExportChoice() {
    ExportChoiceWindow choice(this);
    services_.runModal(choice);
    return choice.choice();
}

std::string JobWindow::pickExistingFile(const FilePickerSettings& settings) {
    return services_.pickExistingFile(settings);
}

} // namespace pixmorph::ui
