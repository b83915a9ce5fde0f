#include "archive/shipped_name_list.h"

#include <filesystem>
#include <system_error>

namespace pixmorph {

std::string shippedNameListPath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return (program.parent_path() / PIXMORPH_NAMES_FROM_BIN / "game-grp-names.txt")
        .lexically_normal()
        .string();
}

std::string nameListToUse(const std::string& location) {
    std::error_code error;
    if (!location.empty() && std::filesystem::exists(location, error))
        return location;
    const std::string shipped = shippedNameListPath();
    if (!shipped.empty() && std::filesystem::exists(shipped, error))
        return shipped;
    return location;
}

} // namespace pixmorph
