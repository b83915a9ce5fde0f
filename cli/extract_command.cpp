// extract [--flat] [--names LISTFILE] [--output-dir DIR [--mkdir]] (--all ARCHIVE | ARCHIVE
// NAME...): each name saved as the desktop's archive pick saves it; the path written is printed.
// --all saves every sprite the desktop list offers; on a terminal it draws one progress line
// instead.
#include "archive/extraction.h"
#include "archive/offered_names.h"
#include "cli/archive_options.h"
#include "cli/cli_job_delegate.h"
#include "cli/output_folder.h"
#include "cli/terminal_text.h"

#include <iostream>
#include <map>
#include <unistd.h>

namespace pixmorph::cli {

int runExtract(const ArchiveOptions& options) {
    const std::string& archive = options.operands.front();
    ArchiveLibrary library(makeStormBackend());
    if (!openArchiveForCommand(library, archive, options.nameList) ||
        !readyOutputFolder(options.outputDir, options.makeOutputDir))
        return 1;
    const std::vector<std::string> names =
        options.all
            ? offeredNames(library.found())
            : std::vector<std::string>(options.operands.begin() + 1, options.operands.end());
    // A terminal gets one progress line and a count instead of a path per sprite.
    const bool onTerminal = options.all && isTerminal(STDOUT_FILENO);
    const NameFormat format = options.flat ? NameFormat::flat : NameFormat::subdirectories;
    // Flat names can meet (a\b.grp and a_b.grp): the later file would replace the earlier one
    // of the same run, so it is refused. A name given twice is the same file, written again.
    std::map<std::string, std::string> savedFor; // path written -> the name saved there
    std::size_t written = 0;
    {
        CliJobDelegate progress(ExportMode::all, archive, onTerminal && isTerminal(STDERR_FILENO));
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            const std::string target = extractionTarget(options.outputDir, name, format).path;
            if (const auto saved = savedFor.find(target);
                saved != savedFor.end() && saved->second != name) {
                progress.message(fillIn(msg::kFlatNameTaken, {name, target, saved->second}),
                                 MessageIcon::exclamation, name);
            } else if (const ExtractionResult result =
                           extractArchiveFile(library, name, options.outputDir, format,
                                              i + 1 < names.size() ? names[i + 1] : std::string());
                       result.ok()) {
                savedFor.emplace(result.path, name);
                ++written;
                if (!onTerminal)
                    std::cout << result.path << '\n';
            } else {
                progress.message(result.error, result.icon, name);
            }
            progress.progress(i + 1, names.size());
        }
    }
    if (onTerminal)
        std::cout << written << " of " << names.size() << " sprites saved.\n";
    return written == names.size() ? 0 : 1;
}

} // namespace pixmorph::cli
