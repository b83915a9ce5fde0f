#pragma once
// The system side of core's file layer: a folder held open while outputs are written into it.
// Nothing written is followed through a link: the folder levels beneath the one the user named
// are opened without following links, and a link standing at a target name is replaced, never
// written through. Each file is written with no name (or under a temporary name where the file
// system cannot do that) and gets its own name only when complete, so an interrupted run leaves
// no partial file; temporary names left by runs that were killed are swept away.
//
// Used through file_io.h; only the tests of the fallbacks include this directly.

#include "core/bytes.h"
#include "core/file_error.h"

#include <string>
#include <string_view>

namespace pixmorph {

// A complete file not yet under its name.
struct PendingFile {
    std::string name;         // in the folder
    std::string temporary;    // its temporary name in the folder, when it has one
    int descriptor = -1;      // an unnamed file still open
    bool targetTaken = false; // something stood at the name when the file was written
};

class OutputFolder {
public:
    OutputFolder() = default;
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    // Opens folder, following it if it is a link (the user chose it), then the levels beneath
    // it ('/' between them), creating the missing ones and following no link. On failure,
    // failedPath names the folder level concerned, or is empty when the folder itself failed.
    FileErrorCause open(const std::string& folder, std::string_view levels,
                        std::string& failedPath);
    bool isOpen() const;

    // Writes the file to be named name. It is refused, before anything is written, when a
    // folder or a file this process may not write stands at the name, or the name is too
    // long. keepUnnamed: the file may stay without a name until place(), holding a descriptor.
    FileErrorCause write(std::string_view name, Bytes data, PendingFile& file, bool keepUnnamed);
    // Gives the file its name, replacing what stands there.
    FileErrorCause place(PendingFile& file);
    // Removes the file.
    void drop(PendingFile& file);

private:
#if defined(__linux__) && !defined(PIXMORPH_PORTABLE_FILES)
    int descriptor_ = -1;
    bool unnamedFiles_ = true; // the file system makes files without names
#else
    std::string path_;
#endif
};

// Whether an unnamed file may be kept open: a bound on the descriptors held at once, shared by
// every set of files being written.
bool takeUnnamedFileSlot();
void releaseUnnamedFileSlot();

// For the tests of the fallbacks: makes this process behave as if the kernel had no openat2
// and the file systems no unnamed files.
void pretendOldSystemForTests(bool withoutOpenat2, bool withoutUnnamedFiles);

} // namespace pixmorph
