#pragma once
// The system's message boxes and pickers, and the running of modal windows, behind one
// interface so that tests can answer them.

#include "app/window_ops.h"

#include <QRect>
#include <QString>
#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace pixmorph::ui {

class DialogServices {
public:
    virtual ~DialogServices() = default;
    virtual MessageAnswer showMessage(QWidget* owner, const std::string& text, MessageIcon icon,
                                      bool yesNo) = 0;
    // The chosen file's full path, or empty. Afterwards the current directory is its folder.
    virtual std::string pickExistingFile(const FilePickerSettings& settings) = 0;
    virtual std::optional<std::string> pickFolder(const std::string& title) = 0;
    // Runs the window modally and returns its result.
    virtual int runModal(QDialog& dialog) = 0;
};

// The real thing: Qt's message boxes and file dialogs.
class QtDialogServices : public DialogServices {
public:
    MessageAnswer showMessage(QWidget* owner, const std::string& text, MessageIcon icon,
                              bool yesNo) override;
    std::string pickExistingFile(const FilePickerSettings& settings) override;
    std::optional<std::string> pickFolder(const std::string& title) override;
    int runModal(QDialog& dialog) override;
};

// Where a message box of the owner is centred: the owner's window, or the nearest window above it
// that is on screen, or the screen.
QRect messageArea(const QWidget* owner);

// The picker's room for a path; a longer choice counts as a failed dialog.
inline constexpr int kPickerPathLimit = 500;

// The two filter entries, the type's own first: "Sprite Files *.grp (*.grp);;All Files *.* (*)".
QString pickerFilters(const FilePickerSettings& settings);

// Paths cross between the logic's bytes and Qt's text in the file system's encoding.
QString fromPath(const std::string& path);
std::string toPath(const QString& path);

} // namespace pixmorph::ui
