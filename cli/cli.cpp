#include "cli/cli.h"

#include "core/version.h"

#include <algorithm>
#include <iostream>
#include <string_view>

namespace pixmorph::cli {

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(const Args&);
};

constexpr Command kCommands[] = {
    {"export", kExportUsage, runExport},    {"compile", kCompileUsage, runCompile},
    {"info", kInfoUsage, runInfo},          {"list", kListUsage, runList},
    {"extract", kExtractUsage, runExtract},
};

void printUsage(std::ostream& out) {
    std::string_view start = "usage: ";
    for (const Command& command : kCommands) {
        out << start << command.usage << '\n';
        start = "       ";
    }
    out << start << "pixmorph-cli --help | --version | CMD --help\n";
}

// --help or -h among the options, before any "--" that ends them.
bool asksForHelp(const Args& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end,
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

} // namespace

int run(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    const std::string_view name = argv[1];
    const Args args(argv + 2, argv + argc);
    if (name == "--help" || name == "-h") {
        printUsage(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "pixmorph-cli " PIXMORPH_VERSION "\n";
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name != name)
            continue;
        if (asksForHelp(args)) {
            std::cout << "usage: " << command.usage << '\n';
            return 0;
        }
        return command.run(args);
    }
    std::cerr << "pixmorph-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return 2;
}

} // namespace pixmorph::cli
