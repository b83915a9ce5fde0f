// extract [--flat] --names LISTFILE [--output-dir DIR] ARCHIVE NAME...: each name saved as the
// desktop's archive pick saves it; the path written is printed.
#include "archive/extraction.h"
#include "cli/archive_options.h"
#include "cli/cli_job_delegate.h"

#include <iostream>
#include <limits>

namespace pixmorph::cli {

int runExtract(const Args& args) {
    static constexpr ArchiveCommand kExtract{
        "extract",
        "pixmorph-cli extract [--flat] --names LISTFILE [--output-dir DIR] ARCHIVE NAME...", true,
        2, std::numeric_limits<std::size_t>::max()};
    const auto options = parseArchiveOptions(kExtract, args);
    if (!options)
        return 2;
    ArchiveLibrary library(makeStormBackend());
    if (!openArchiveForCommand(library, options->operands.front(), options->nameList))
        return 1;
    const NameFormat format = options->flat ? NameFormat::flat : NameFormat::subdirectories;
    bool allWritten = true;
    for (std::size_t i = 1; i < options->operands.size(); ++i) {
        const std::string& name = options->operands[i];
        const ExtractionResult result =
            extractArchiveFile(library, name, options->outputDir, format);
        if (result.ok()) {
            std::cout << result.path << '\n';
        } else {
            printMessageLine(name, result.error);
            allWritten = false;
        }
    }
    return allWritten ? 0 : 1;
}

} // namespace pixmorph::cli
