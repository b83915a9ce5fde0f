#pragma once
// Whole-file reads and atomic whole-file writes. Inputs are read once into memory; outputs are
// built in memory and written with one call to a temporary file in the target's folder, which
// is renamed over the target only when complete, so a failed write never costs an earlier file.

#include "core/bytes.h"
#include "core/file_error.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pixmorph {

struct FileReadResult {
    ByteVector data;
    FileErrorCause error = FileErrorCause::none;
    bool ok() const { return error == FileErrorCause::none; }
};

// The largest file read whole; the writers produce nothing larger, so whatever the program
// writes it can read back.
inline constexpr std::uint64_t kMaxWholeFileSize = 64u << 20;

// Reads the whole file. Files larger than maxBytes are refused with FileErrorCause::tooLarge
// before anything is allocated.
FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes = kMaxWholeFileSize);

// Writes the bytes to path through a temporary file beside it and a rename. On failure the
// temporary file is removed and any earlier file at path is untouched.
FileErrorCause writeFileAtomically(const std::string& path, Bytes data);

// Files that belong together (an export's bitmaps and their list) written as one: each goes to
// a temporary file beside its target, and only when all are complete are they renamed over
// their targets. A failed write, or a set dropped without commit(), removes the temporary
// files and leaves every target as it was.
//
// The writes run on a thread of their own, in the order added, so that the caller builds the
// next file while the system creates the last one; at most kMostPendingBytes wait to be written.
class StagedFiles {
public:
    static constexpr std::size_t kMostPendingBytes = 8u << 20;

    StagedFiles();
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Hands the file over to be written beside its target. A failure of this write or of an
    // earlier one is returned here or by commit(), with failedPath() naming the file; after it
    // every file staged so far is dropped and nothing more is written.
    FileErrorCause add(const std::string& path, ByteVector data);
    // Waits for the writes, then renames every staged file over its target, in the order
    // added. A rename can fail only for reasons the writes did not meet (a folder in the
    // target's place): the files renamed before it stay, the rest are dropped, and
    // failedPath() names the one that failed.
    FileErrorCause commit();
    const std::string& failedPath() const { return failedPath_; }

private:
    struct Writer;
    struct Job;
    std::vector<Job> batch_;
    std::size_t batchBytes_ = 0;
    // Collects the written files from the writer and ends it, first waiting for the queue or
    // dropping it; returns the writer's failure.
    FileErrorCause finishWrites(bool waitForQueue);
    void discard();
    struct Staged;
    std::vector<Staged> staged_;
    std::unique_ptr<Writer> writer_;
    std::string failedPath_;
};

} // namespace pixmorph
