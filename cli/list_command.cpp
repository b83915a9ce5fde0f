// list [--names LISTFILE] ARCHIVE: the sprites the desktop list offers, in its order.
#include "archive/offered_names.h"
#include "cli/archive_options.h"

#include <iostream>

namespace pixmorph::cli {

int runList(const Args& args) {
    static constexpr ArchiveCommand kList{"list", "pixmorph-cli list [--names LISTFILE] ARCHIVE"};
    const auto options = parseArchiveOptions(kList, args);
    if (!options)
        return 2;
    ArchiveLibrary library(makeStormBackend());
    if (!openArchiveForCommand(library, options->operands.front(), options->nameList))
        return 1;
    for (const auto& name : offeredNames(library.found()))
        std::cout << name << '\n';
    return 0;
}

} // namespace pixmorph::cli
