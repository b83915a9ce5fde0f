#include "cli/cli.h"

#include <iostream>
#include <string_view>

namespace pixmorph::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: pixmorph-cli export [--unique] [--palette FILE] [--output-dir DIR] GRP...\n"
    "       pixmorph-cli compile [--compact] [--palette FILE] [--output-dir DIR] LIST...\n"
    "       pixmorph-cli info GRP...\n"
    "       pixmorph-cli list --names LISTFILE ARCHIVE\n"
    "       pixmorph-cli extract [--flat] --names LISTFILE [--output-dir DIR] ARCHIVE NAME...\n"
    "       pixmorph-cli --help | --version\n";

} // namespace

int run(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "pixmorph-cli 1.85\n";
        return 0;
    }
    if (command == "export")
        return runExport(args);
    if (command == "compile")
        return runCompile(args);
    if (command == "info")
        return runInfo(args);
    if (command == "list")
        return runList(args);
    if (command == "extract")
        return runExtract(args);
    std::cerr << "pixmorph-cli: unknown command '" << command << "'\n" << kUsage;
    return 2;
}

} // namespace pixmorph::cli
