// Commands not built yet answer with a usage error; each moves to its own file when built.
#include "cli/cli.h"

#include <iostream>

namespace pixmorph::cli {

static int notYet(const char* name) {
    std::cerr << "pixmorph-cli: " << name << " is not available yet\n";
    return 2;
}

int runExport(const Args&) { return notYet("export"); }
int runCompile(const Args&) { return notYet("compile"); }
int runInfo(const Args&) { return notYet("info"); }
int runList(const Args&) { return notYet("list"); }
int runExtract(const Args&) { return notYet("extract"); }

} // namespace pixmorph::cli
