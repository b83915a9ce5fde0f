// list [--all] [--names LISTFILE] ARCHIVE: the sprites the desktop list offers, in its order;
// with --all every name the list found, in the list's order.
#include "archive/offered_names.h"
#include "cli/archive_options.h"
#include "cli/terminal_text.h"

#include <iostream>
#include <unistd.h>

namespace pixmorph::cli {

int runList(const ArchiveOptions& options) {
    ArchiveLibrary library(makeStormBackend());
    if (!openArchiveForCommand(library, options.operands.front(), options.nameList))
        return 1;
    std::vector<std::string> names;
    if (options.all) {
        for (const auto& record : library.found())
            names.push_back(record.name);
    } else {
        names = offeredNames(library.found());
    }
    // The names come from the name list: a terminal must not act on them, while a script reading
    // them gets them as they are.
    const bool toTerminal = isTerminal(STDOUT_FILENO);
    for (const auto& name : names)
        std::cout << (toTerminal ? escapeControls(name) : name) << '\n';
    return 0;
}

} // namespace pixmorph::cli
