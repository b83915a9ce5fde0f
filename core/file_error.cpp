#include "core/file_error.h"

#include "core/messages.h"

#include <cerrno>
#include <iterator>

namespace pixmorph {

FileErrorCause fileErrorCauseFromErrno(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return FileErrorCause::none;
    case ENOENT:
        return FileErrorCause::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EXDEV:
        return FileErrorCause::badPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return FileErrorCause::accessDenied;
    case EBADF:
        return FileErrorCause::invalidFile;
    case EMLINK:
        return FileErrorCause::directoryFull;
    case ESPIPE:
    case EOVERFLOW:
        return FileErrorCause::badSeek;
    case EIO:
        return FileErrorCause::hardIO;
    case EBUSY:
    case ETXTBSY:
        return FileErrorCause::sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return FileErrorCause::lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::diskFull;
    default:
        return FileErrorCause::generic;
    }
}

std::string fileErrorMessage(FileErrorCause cause, std::string_view fileName) {
    const std::string_view name = fileName.empty() ? msg::kUnnamedFile : fileName;
    switch (cause) {
    case FileErrorCause::tooLarge:
        return fillIn(msg::kFileTooLarge, name);
    case FileErrorCause::notRegularFile:
        return fillIn(msg::kNotRegularFile, name);
    case FileErrorCause::linkInPath:
        return fillIn(msg::kLinkInPath, name);
    default:
        break;
    }
    auto index = static_cast<std::size_t>(cause);
    if (index >= std::size(msg::kFileErrors))
        index = static_cast<std::size_t>(FileErrorCause::generic);
    return fillIn(msg::kFileErrors[index], name);
}

} // namespace pixmorph
