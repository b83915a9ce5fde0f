#pragma once
// Every file under a folder with its bytes, to show that a refused input created or changed
// nothing (temporary files included).

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace pixmorph::test {

using FolderSnapshot =
    std::map<std::string, std::string>; // relative path -> bytes ("/" for a folder)

inline FolderSnapshot snapshotOf(const std::filesystem::path& folder) {
    FolderSnapshot snapshot;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(item.path(), folder).string();
        if (item.is_directory()) {
            snapshot[name] = "/";
            continue;
        }
        std::ifstream in(item.path(), std::ios::binary);
        snapshot[name] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return snapshot;
}

} // namespace pixmorph::test
