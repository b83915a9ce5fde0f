#include "cli/archive_options.h"

#include "archive/name_list.h"
#include "cli/cli_job_delegate.h"
#include "core/file_io.h"
#include "core/messages.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

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

} // namespace

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
