#pragma once
// What list and extract share on the command line: their options and the opening of the
// archive with its name list, as Locate Archive opens it.

#include "archive/archive_library.h"
#include "cli/cli.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph::cli {

struct ArchiveOptions {
    bool flat = false;
    bool makeOutputDir = false;
    bool all = false;      // list: every name found; extract: every offered name, no NAME operands
    std::string nameList;  // the shipped list when --names is not given
    std::string outputDir; // empty: the current directory
    std::vector<std::string> operands;
};

// Opens the archive and looks up the list's names; false after a message naming the file that
// failed and why.
bool openArchiveForCommand(ArchiveLibrary& library, const std::string& archive,
                           const std::string& nameList);

} // namespace pixmorph::cli
