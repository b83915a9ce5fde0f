#pragma once
// Operating-system file errors as the cause index 0 to 14 that the messages are indexed by, the
// file layer's own refusals (a file too large to read, an input that is no regular file, a link
// among the output's folders), and the one place that turns a cause into the text the user
// sees.

#include <string>
#include <string_view>

namespace pixmorph {

enum class FileErrorCause : int {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
    // Not an operating-system error: the file is past the most the program reads whole.
    tooLarge = 15,
    notRegularFile = 16, // an input that is a folder, a device, a FIFO or a socket
    linkInPath = 17,     // a folder level beneath the output folder is a link
};

// Maps an errno value to its cause.
FileErrorCause fileErrorCauseFromErrno(int errorNumber);

// The message for a cause with the file's name for %1; an empty name reads "an unnamed file".
std::string fileErrorMessage(FileErrorCause cause, std::string_view fileName);

} // namespace pixmorph
