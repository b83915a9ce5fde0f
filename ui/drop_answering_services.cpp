#include "ui/drop_answering_services.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace pixmorph::ui {

std::string DropAnsweringServices::pickExistingFile(const FilePickerSettings& settings) {
    if (!answer_)
        return inner_.pickExistingFile(settings);
    std::string path = *std::exchange(answer_, std::nullopt);
    // As after a picker: the current folder is the chosen file's, where relative names resolve.
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::path(path).parent_path(), ignored);
    return path;
}

std::optional<std::string> DropAnsweringServices::pickFolder(const std::string& title) {
    if (!answer_)
        return inner_.pickFolder(title);
    return std::exchange(answer_, std::nullopt);
}

} // namespace pixmorph::ui
