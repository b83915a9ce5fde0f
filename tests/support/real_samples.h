#pragma once
// The real files modders have (../shared/real-samples beside the project, or the folder
// PIXMORPH_REAL_SAMPLES names). They are never copied into the repository: tests that read
// them skip when the folder is absent.

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace pixmorph::test {

inline std::optional<std::filesystem::path> realSamplesFolder() {
    const char* named = std::getenv("PIXMORPH_REAL_SAMPLES");
    const std::filesystem::path folder =
        named && *named ? std::filesystem::path(named)
                        : std::filesystem::path(PIXMORPH_SOURCE_DIR) / "../shared/real-samples";
    if (!std::filesystem::is_directory(folder))
        return std::nullopt;
    return folder;
}

} // namespace pixmorph::test
