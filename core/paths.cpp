#include "core/paths.h"

namespace pixmorph {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string joinPath(const std::string& folder, std::string_view name) {
    if (folder.empty() || name.starts_with('/'))
        return std::string(name);
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    path += name;
    return path;
}

} // namespace pixmorph
