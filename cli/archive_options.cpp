#include "cli/archive_options.h"

#include "archive/name_list.h"
#include "archive/shipped_name_list.h"
#include "cli/cli_job_delegate.h"
#include "core/file_io.h"
#include "core/messages.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace pixmorph::cli {

namespace {

// The desktop says "Errrrrror" for every failed opening; here the reason is looked for again.
std::string whyNotOpened(const std::string& file, bool isNameList) {
    if (isNameList) {
        const FileReadResult list = readWholeFile(file);
        if (!list.ok())
            return fileErrorMessage(list.error, file);
        if (parseNameList(list.data).size() > kMaxNameLines)
            return fillIn(msg::kNameListTooLong, file);
        return std::string(msg::kArchiveFailed);
    }
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return fileErrorMessage(FileErrorCause::fileNotFound, file);
    if (std::filesystem::is_directory(file, error))
        return fileErrorMessage(fileErrorCauseFromErrno(EISDIR), file);
    errno = 0;
    std::FILE* opened = std::fopen(file.c_str(), "rb");
    if (!opened)
        return fileErrorMessage(fileErrorCauseFromErrno(errno), file);
    std::fclose(opened);
    return fillIn(msg::kArchiveNotOpened, file);
}

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
        } else if (arg == "--mkdir" && command.takesOutput) {
            options.makeOutputDir = true;
        } else if (arg == "--all" && command.takesAll) {
            options.all = true;
        } else if (arg == "--names" || (arg == "--output-dir" && command.takesOutput)) {
            if (i + 1 == args.size() || args[i + 1].empty())
                return usageError(command, arg + " needs a value");
            (arg == "--names" ? options.nameList : options.outputDir) = args[++i];
        } else {
            return usageError(command, "unknown option " + arg);
        }
    }
    if (options.nameList.empty())
        options.nameList = shippedNameListPath();
    // extract --all takes the archive alone; list --all changes only what is shown.
    const bool archiveAlone = options.all && command.takesOutput;
    if (options.operands.size() < (archiveAlone ? 1 : command.fewestOperands))
        return usageError(command, options.operands.empty() ? "no archive" : "no name");
    if (options.operands.size() > (archiveAlone ? 1 : command.mostOperands))
        return usageError(command, archiveAlone ? "--all takes no names" : "too many arguments");
    if (options.operands.front().empty())
        return usageError(command, "an empty archive name");
    if (options.makeOutputDir && options.outputDir.empty())
        return usageError(command, "--mkdir needs --output-dir");
    return options;
}

bool openArchiveForCommand(ArchiveLibrary& library, const std::string& archive,
                           const std::string& nameList) {
    if (library.openArchiveAndList(archive, nameList))
        return true;
    const bool listFailed = library.lastFailure() == ArchiveOpenFailure::nameList;
    const std::string& file = listFailed ? nameList : archive;
    printMessageLine(file, whyNotOpened(file, listFailed));
    return false;
}

} // namespace pixmorph::cli
