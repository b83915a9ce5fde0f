// extract [--flat] --names LISTFILE [--output-dir DIR [--mkdir]] ARCHIVE NAME...: each name saved
// as the desktop's archive pick saves it; the path written is printed.
#include "archive/extraction.h"
#include "cli/archive_options.h"
#include "cli/cli_job_view.h"
#include "cli/output_folder.h"

#include <iostream>
#include <limits>
#include <map>

namespace pixmorph::cli {

int runExtract(const Args& args) {
    static constexpr ArchiveCommand kExtract{"extract", kExtractUsage, true, 2,
                                             std::numeric_limits<std::size_t>::max()};
    const auto options = parseArchiveOptions(kExtract, args);
    if (!options)
        return 2;
    ArchiveLibrary library(makeStormBackend());
    if (!openArchiveForCommand(library, options->operands.front(), options->nameList) ||
        !readyOutputFolder(options->outputDir, options->makeOutputDir))
        return 1;
    const NameFormat format = options->flat ? NameFormat::flat : NameFormat::subdirectories;
    // Flat names can meet (a\b.grp and a_b.grp): the later file would replace the earlier one
    // of the same run, so it is refused. A name given twice is the same file, written again.
    std::map<std::string, std::string> savedFor; // path written -> the name saved there
    bool allWritten = true;
    for (std::size_t i = 1; i < options->operands.size(); ++i) {
        const std::string& name = options->operands[i];
        const std::string target = extractionTarget(options->outputDir, name, format).path;
        if (const auto saved = savedFor.find(target);
            saved != savedFor.end() && saved->second != name) {
            printMessageLine(name, fillIn(msg::kFlatNameTaken, {name, target, saved->second}));
            allWritten = false;
            continue;
        }
        const ExtractionResult result =
            extractArchiveFile(library, name, options->outputDir, format);
        if (result.ok()) {
            savedFor.emplace(result.path, name);
            std::cout << result.path << '\n';
        } else {
            printMessageLine(name, result.error);
            allWritten = false;
        }
    }
    return allWritten ? 0 : 1;
}

} // namespace pixmorph::cli
