#include "cli/archive_options.h"

#include "cli/cli_job_delegate.h"
#include "core/messages.h"

#include <iostream>

namespace pixmorph::cli {

namespace {

std::nullopt_t usageError(const ArchiveCommand& command, const std::string& problem) {
    std::cerr << "pixmorph-cli " << command.name << ": " << problem << '\n'
              << "usage: " << command.usage << '\n';
    return std::nullopt;
}

} // namespace

std::optional<ArchiveOptions> parseArchiveOptions(const ArchiveCommand& command, const Args& args) {
    ArchiveOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            options.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--flat" && command.takesOutput) {
            options.flat = true;
        } else if (arg == "--names" || (arg == "--output-dir" && command.takesOutput)) {
            if (i + 1 == args.size() || args[i + 1].empty())
                return usageError(command, arg + " needs a value");
            (arg == "--names" ? options.nameList : options.outputDir) = args[++i];
        } else {
            return usageError(command, "unknown option " + arg);
        }
    }
    if (options.nameList.empty())
        return usageError(command, "--names LISTFILE is required");
    if (options.operands.size() < command.fewestOperands)
        return usageError(command, options.operands.empty() ? "no archive" : "no name");
    if (options.operands.size() > command.mostOperands)
        return usageError(command, "too many arguments");
    if (options.operands.front().empty())
        return usageError(command, "an empty archive name");
    return options;
}

bool openArchiveForCommand(ArchiveLibrary& library, const std::string& archive,
                           const std::string& nameList) {
    if (library.openArchiveAndList(archive, nameList))
        return true;
    const bool listFailed = library.lastFailure() == ArchiveOpenFailure::nameList;
    printMessageLine(listFailed ? nameList : archive, std::string(msg::kArchiveFailed));
    return false;
}

} // namespace pixmorph::cli
