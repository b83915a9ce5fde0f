#pragma once
// The export-choice, about and splash windows.

#include "jobs/job_delegate.h"
#include "ui/template_dialog.h"

#include <optional>

namespace pixmorph::ui {

// Asks which frames to export. "All Bitmaps" gives all, "Only - Unique Bitmaps" unique; Escape
// (or closing the window) gives no choice.
class ExportChoiceWindow : public TemplateDialog {
    Q_OBJECT
public:
    explicit ExportChoiceWindow(QWidget* parent);
    std::optional<ExportMode> choice() const { return choice_; }

private:
    std::optional<ExportMode> choice_;
};

class AboutWindow : public TemplateDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent);
};

// Stays until OK, Enter or Escape.
class SplashWindow : public TemplateDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent);
};

} // namespace pixmorph::ui
