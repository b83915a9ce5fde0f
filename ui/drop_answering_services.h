#pragma once
// The dialog services of the main window, which answer the next file or folder picker with a
// file dropped on the window: a drop then runs exactly the command its file kind stands for.

#include "ui/dialog_services.h"

#include <optional>
#include <string>

namespace pixmorph::ui {

class DropAnsweringServices : public DialogServices {
public:
    explicit DropAnsweringServices(DialogServices& inner) : inner_(inner) {}

    // The next picker (of either kind) answers this path instead of asking; forget() drops an
    // answer no picker took.
    void answerNextPick(std::string path) { answer_ = std::move(path); }
    void forget() { answer_.reset(); }

    MessageAnswer showMessage(QWidget* owner, const std::string& text, MessageIcon icon,
                              bool yesNo) override {
        return inner_.showMessage(owner, text, icon, yesNo);
    }
    std::string pickExistingFile(const FilePickerSettings& settings) override;
    std::optional<std::string> pickFolder(const std::string& title) override;
    int runModal(QDialog& dialog) override { return inner_.runModal(dialog); }

private:
    DialogServices& inner_;
    std::optional<std::string> answer_;
};

} // namespace pixmorph::ui
