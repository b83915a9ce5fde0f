#pragma once
// Whole-file reads and atomic whole-file writes. Inputs are read once into memory; outputs are
// built in memory and written with one call to a temporary file in the target's folder, which
// is renamed over the target only when complete, so a failed write never costs an earlier file.

#include "core/bytes.h"
#include "core/file_error.h"

#include <cstdint>
#include <string>

namespace pixmorph {

struct FileReadResult {
    ByteVector data;
    FileErrorCause error = FileErrorCause::none;
    bool ok() const { return error == FileErrorCause::none; }
};

// The largest file read whole; the writers produce nothing larger, so whatever the program
// writes it can read back.
inline constexpr std::uint64_t kMaxWholeFileSize = 64u << 20;

// Reads the whole file. Files larger than maxBytes are refused with FileErrorCause::generic
// before anything is allocated.
FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes = kMaxWholeFileSize);

// Writes the bytes to path through a temporary file beside it and a rename. On failure the
// temporary file is removed and any earlier file at path is untouched.
FileErrorCause writeFileAtomically(const std::string& path, Bytes data);

} // namespace pixmorph
