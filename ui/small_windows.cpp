#include "ui/small_windows.h"

#include "app/control_ids.h"

#include <QPushButton>

namespace pixmorph::ui {

ExportChoiceWindow::ExportChoiceWindow(QWidget* parent)
    : TemplateDialog(exportChoiceTemplate(), parent) {
    connect(control<QPushButton>(ids::kChoiceAll), &QPushButton::clicked, this, [this] {
        choice_ = ExportMode::all;
        accept();
    });
    connect(control<QPushButton>(ids::kChoiceUnique), &QPushButton::clicked, this, [this] {
        choice_ = ExportMode::unique;
        reject();
    });
}

AboutWindow::AboutWindow(QWidget* parent) : TemplateDialog(aboutTemplate(), parent) {
    connect(control<QPushButton>(kOkId), &QPushButton::clicked, this, &QDialog::accept);
}

SplashWindow::SplashWindow(QWidget* parent) : TemplateDialog(splashTemplate(), parent) {
    setWindowTitle(QStringLiteral("Pixmorph")); // not shown; names the window to the desktop
    connect(control<QPushButton>(kOkId), &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace pixmorph::ui
