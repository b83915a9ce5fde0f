#pragma once
// A look at an archive's first header before the archive reader sees it. The reader trusts
// the header's table sizes and sector size: absurd values make it allocate gigabytes, spend
// many seconds or divide by zero. Archives are opened only when their header, at the file's
// start, describes tables that lie inside the file.

#include "core/bytes.h"

#include <cstdint>
#include <string>

namespace pixmorph {

inline constexpr std::size_t kMpqHeaderSize = 32;

// header: the file's first bytes (at least kMpqHeaderSize of them for a pass).
bool mpqHeaderIsSane(Bytes header, std::uint64_t fileSize);

// Reads the start of the file at path and checks it.
bool mpqFileHeaderIsSane(const std::string& path);

} // namespace pixmorph
