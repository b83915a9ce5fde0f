// The page's way into the command line: the same commands, on files the page has written into
// the module's in-memory file system, so every refusal reads as it does in a terminal.
#include "cli/cli.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The arguments arrive as one text, one argument a line; a dropped file's name cannot hold a
// line break (the page refuses such names before they get here).
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

// Runs pixmorph-cli with the given arguments in the current folder and returns its exit
// status; what it prints reaches the page through the module's print and printErr.
extern "C" EMSCRIPTEN_KEEPALIVE int pixmorph_run(const char* arguments) {
    std::vector<std::string> words = splitLines(arguments ? arguments : "");
    words.insert(words.begin(), "pixmorph-cli");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const int status = pixmorph::cli::run(static_cast<int>(words.size()), argv.data());
    // The page reads the lines as soon as the call returns.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
}
