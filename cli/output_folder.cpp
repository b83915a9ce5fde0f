#include "cli/output_folder.h"

#include "cli/cli_job_delegate.h"
#include "core/file_error.h"
#include "core/messages.h"

#include <filesystem>

namespace pixmorph::cli {

bool readyOutputFolder(const std::string& folder, bool make) {
    namespace fs = std::filesystem;
    if (folder.empty())
        return true;
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (fs::is_directory(status))
        return true;
    if (fs::exists(status)) {
        printMessageLine(folder, std::string(msg::kNotAFolder));
        return false;
    }
    if (!make) {
        printMessageLine(folder, std::string(msg::kNoSuchFolder));
        return false;
    }
    if (fs::create_directories(folder, error); error) {
        printMessageLine(folder, fileErrorMessage(fileErrorCauseFromErrno(error.value()), folder));
        return false;
    }
    return true;
}

} // namespace pixmorph::cli
