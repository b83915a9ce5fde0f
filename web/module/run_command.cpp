// The page's way into the command line: the same commands, on files the page has written into
// the module's in-memory file system, so every refusal reads as it does in a terminal.
#include "cli/cli.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <iostream>

// Runs pixmorph-cli with argv (argv[0] the program's name) in the current folder and returns
// its exit status; what it prints reaches the page through the module's output devices.
extern "C" EMSCRIPTEN_KEEPALIVE int pixmorph_run(int argc, char** argv) {
    const int status = pixmorph::cli::run(argc, argv);
    // The page reads the lines as soon as the call returns.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
}
