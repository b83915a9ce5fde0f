#include "ui/job_window.h"

#include "app/control_ids.h"
#include "ui/clip_player.h"
#include "ui/dialog_services.h"
#include "ui/small_windows.h"
#include "ui/status_field_fit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace pixmorph::ui {

JobWindow::JobWindow(ExportWindowSetup setup, DialogServices& services, QWidget* owner)
    : TemplateDialog(exportJobTemplate(), owner),
      logic_(std::in_place_type<ExportWindowLogic>, std::move(setup)), services_(services),
      statusId_(ids::kExportStatus) {
    connectControls();
}

JobWindow::JobWindow(CompileWindowSetup setup, DialogServices& services, QWidget* owner)
    : TemplateDialog(compileJobTemplate(), owner),
      logic_(std::in_place_type<CompileWindowLogic>, std::move(setup)), services_(services),
      statusId_(ids::kCompileStatus) {
    connectControls();
}

void JobWindow::connectControls() {
    setWindowTitle(QStringLiteral("Pixmorph")); // not shown; names the window to the desktop
    if (auto* status = control<QLineEdit>(statusId_))
        growToFitText(*status);
    connect(control<QPushButton>(ids::kJobOk), &QPushButton::clicked, this, &QDialog::accept);
}

int JobWindow::run() {
    std::visit([this](auto& logic) { logic.initialise(*this); }, logic_);
    return services_.runModal(*this);
}

bool JobWindow::jobStarted() const {
    return std::visit([](const auto& logic) { return logic.jobStarted(); }, logic_);
}

JobOutcome JobWindow::outcome() const {
    return std::visit([](const auto& logic) { return logic.outcome(); }, logic_);
}

void JobWindow::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    if (jobQueued_)
        return;
    jobQueued_ = true;
    // After the show has been handled, so the window is up before the job takes over.
    QMetaObject::invokeMethod(this, &JobWindow::runJob, Qt::QueuedConnection);
}

void JobWindow::runJob() {
    std::visit([this](auto& logic) { logic.paint(*this); }, logic_);
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
    status->repaint();
}

void JobWindow::repaintNow() {
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void JobWindow::openClip(int resource) {
    auto* clip = control<ClipPlayer>(ids::kAnimation);
    if (clip->open(resource))
        clip->play(0, -1, -1);
}

void JobWindow::stopClip() {
    control<ClipPlayer>(ids::kAnimation)->stop();
}

void JobWindow::playClip(int fromFrame, int toFrame, int repeatCount) {
    control<ClipPlayer>(ids::kAnimation)->play(fromFrame, toFrame, repeatCount);
}

void JobWindow::setProgressRange(int low, int high) {
    control<QProgressBar>(ids::kProgress)->setRange(low, std::max(low, high));
}

void JobWindow::setProgressStep(int step) {
    progressStep_ = step;
}

void JobWindow::setProgressPosition(int position) {
    auto* bar = control<QProgressBar>(ids::kProgress);
    bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void JobWindow::stepProgress() {
    // Past the end the bar starts over, as the system's bar does.
    auto* bar = control<QProgressBar>(ids::kProgress);
    const int next = bar->value() + progressStep_;
    bar->setValue(next > bar->maximum() ? bar->minimum() : next);
}

void JobWindow::enableOk() {
    control<QPushButton>(ids::kJobOk)->setEnabled(true);
}

void JobWindow::showMessage(const std::string& text, MessageIcon icon, const std::string&) {
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
