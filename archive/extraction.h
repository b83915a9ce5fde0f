#pragma once
// Saving a found archive file into the output directory under one of the two naming formats,
// and the check that keeps every write inside that directory: archive names come from a list
// the user may have been sent.

#include "core/messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

class ArchiveLibrary;

enum class NameFormat {
    subdirectories, // unit\zerg\zergling.grp -> DIR/unit/zerg/zergling.grp
    flat,           // unit\zerg\zergling.grp -> DIR/unit_zerg_zergling.grp
};

// Larger files are refused before anything is allocated.
inline constexpr std::uint64_t kLargestExtractedFile = 64u << 20;

// The message refusing the name, or nullopt when it is safe to write: a name is refused when it
// is empty or has an empty, "." or ".." level, starts with a separator, holds a ':' (a drive or
// stream marker), a '/' or control characters.
std::optional<std::string> refuseArchiveName(std::string_view name);

struct ExtractionTarget {
    std::string name; // beneath the output directory, '/' between its levels
    std::string path; // the file written: the output directory and name
};

// Where an accepted name is written. Paths join with '/'; an empty outputDir is the current
// directory.
ExtractionTarget extractionTarget(const std::string& outputDir, std::string_view name,
                                  NameFormat format);

struct ExtractionResult {
    std::string path;  // the file written
    std::string error; // the message when nothing was written
    MessageIcon icon = MessageIcon::exclamation;
    bool ok() const { return error.empty(); }
};

// Reads the found file called name (bytes compared) whole and writes it beneath the output
// directory, creating its folder levels there and following no link among them, so a failed
// read or write never leaves a partial file and nothing lands outside the directory. nextName:
// the file extracted next, if any, read while this one is written.
ExtractionResult extractArchiveFile(ArchiveLibrary& library, const std::string& name,
                                    const std::string& outputDir, NameFormat format,
                                    const std::string& nextName = {});

} // namespace pixmorph
