// The archive commands answer with a usage error until they are built.
#include "cli/cli.h"

#include <iostream>

namespace pixmorph::cli {

static int notYet(const char* name) {
    std::cerr << "pixmorph-cli: " << name << " is not available yet\n";
    return 2;
}

int runList(const Args&) {
    return notYet("list");
}
int runExtract(const Args&) {
    return notYet("extract");
}

} // namespace pixmorph::cli
