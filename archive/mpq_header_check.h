#pragma once
// A look at an archive's header before the archive reader sees it. The reader trusts the
// header's table sizes and sector size: absurd values make it allocate gigabytes, spend many
// seconds or divide by zero. Archives are opened only when the header the reader would take
// describes tables that lie inside the file.
//
// The reader looks for the header at every 512-byte boundary of the file's first 128 MiB (a
// self-extracting installer puts its program first) and takes the first one it accepts; the
// check looks at the same places, and the first signature found decides, whatever the reader
// would make of it: a header the reader might pass over as fake, or a user-data header that
// points elsewhere (the game's archives have none), is refused rather than searched past.

#include "core/bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pixmorph {

inline constexpr std::size_t kMpqHeaderSize = 32;
inline constexpr std::uint64_t kMpqHeaderAlignment = 512;
inline constexpr std::uint64_t kMpqHeaderSearchLimit = 128u << 20;

// The offset of the first header in the bytes, which start at a 512-byte boundary of the file:
// the first boundary holding either header signature.
std::optional<std::size_t> findMpqHeader(Bytes bytes);

// header: the bytes from the header's start (at least kMpqHeaderSize of them for a pass), which
// stands at headerOffset in a file of fileSize bytes.
bool mpqHeaderIsSane(Bytes header, std::uint64_t headerOffset, std::uint64_t fileSize);

// Searches the file at path for its first header and checks it.
bool mpqFileHeaderIsSane(const std::string& path);

} // namespace pixmorph
