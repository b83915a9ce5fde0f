#include "cli/cli.h"

#include <csignal>

int main(int argc, char** argv) {
    // A write past the file size limit (ulimit -f) would otherwise kill the program half way
    // through a file, leaving its temporary file behind; ignored, the write fails like one to
    // a full disk, and the program cleans up and reports it.
    std::signal(SIGXFSZ, SIG_IGN);
    return pixmorph::cli::run(argc, argv);
}
