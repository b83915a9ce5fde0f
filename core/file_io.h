#pragma once
// Whole-file reads and atomic whole-file writes. Inputs are read once into memory; outputs are
// built in memory and written whole beneath their output folder, and take their names only
// when complete, so a failed or interrupted write never costs an earlier file. Nothing is
// written through a link (see output_folder.h).

#include "core/bytes.h"
#include "core/file_error.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

// Reads the whole file. Files that are not regular files (folders, devices, FIFOs) are
// refused with FileErrorCause::notRegularFile without being opened for reading, so a read
// never waits for a writer; files larger than maxBytes with FileErrorCause::tooLarge before
// anything is allocated.
FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes = kMaxWholeFileSize);

struct WriteResult {
    FileErrorCause cause = FileErrorCause::none;
    std::string path; // the file written, or the file or folder level the failure concerns
    bool ok() const { return cause == FileErrorCause::none; }
};

// Writes the bytes as name beneath folder (an empty folder is the current one). name may hold
// folder levels ('/' between them), which are created when missing; a level that is a link is
// refused with FileErrorCause::linkInPath naming it. A link at the file's own name is
// replaced, and what it points at stays as it was; a replaced file keeps its permissions; a
// folder or a file this process may not write stands in the way. On failure nothing is left
// behind and any earlier file is untouched.
WriteResult writeFileBeneath(const std::string& folder, std::string_view name, Bytes data);
// The same for a path: its folder is the output folder.
FileErrorCause writeFileAtomically(const std::string& path, Bytes data);

// The bytes free to this process on the file system of folder, when known.
std::optional<std::uint64_t> freeSpace(const std::string& folder);

// Files that belong together (an export's bitmaps and their list) written as one into one
// folder: each is written without its name, and only when all are complete do they take their
// names. A failed write, a target in the way (see writeFileBeneath), or a set dropped without
// commit() leaves every target as it was.
//
// The writes run on one thread shared by every set of the process, in the order added, so that
// the caller builds the next files while the system creates the last ones, and a run of many
// small sets starts no thread per set. Files go to it in batches of kBatchBytes; a set that
// stays below that is written by commit() itself. At most kMostPendingBytes wait to be written.
class StagedFiles {
public:
    static constexpr std::size_t kMostPendingBytes = 8u << 20;
    static constexpr std::size_t kBatchBytes = 64u << 10;

    explicit StagedFiles(std::string folder);
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Hands the file over to be written as name in the folder. A failure of this write or of
    // an earlier one is returned here or by commit(), with failedPath() naming the file; after
    // it every file staged so far is dropped and nothing more is written.
    FileErrorCause add(std::string name, ByteVector data);
    // Waits for the writes, then gives every file its name, in the order added. Every target
    // was checked before its file was written, so this fails only when the folder changes
    // meanwhile: the files named before stay, the rest are dropped.
    FileErrorCause commit();
    const std::string& failedPath() const { return failedPath_; }

    struct File {
        std::string name;
        ByteVector data;
    };
    struct State; // the set as the writer sees it

private:
    // Hands the files gathered so far to the writer.
    FileErrorCause handOverBatch();
    // Waits for the set's queued writes, first letting them be written or passing them over;
    // returns their failure. A failed or dropped set drops its files.
    FileErrorCause finishWrites(bool writeQueued);
    std::string folder_;
    std::unique_ptr<State> state_;                // gone once committed, failed or dropped
    FileErrorCause error_ = FileErrorCause::none; // once set, the set stays failed
    std::string failedPath_;
    std::vector<File> batch_; // added, not yet handed to the writer
    std::size_t batchBytes_ = 0;
};

} // namespace pixmorph
