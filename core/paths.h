#pragma once
// Paths as the jobs and the extraction build them: '/'-separated text, no file-system calls.

#include <string>
#include <string_view>

namespace pixmorph {

// The folder part of a path ("" for a bare name, which then resolves against the current
// directory like the path itself).
std::string folderOf(const std::string& path);
// name inside folder; name itself when folder is empty or name is absolute.
std::string joinPath(const std::string& folder, std::string_view name);

} // namespace pixmorph
