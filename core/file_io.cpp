#include "core/file_io.h"

#include "core/bounded_queue.h"
#include "core/output_folder.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#if defined(__linux__) && !defined(PIXMORPH_PORTABLE_FILES)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pixmorph {

namespace fs = std::filesystem;

namespace {

std::string pathBeneath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path.append(name);
}

FileErrorCause causeOf(int errorNumber) {
    return errorNumber == 0 ? FileErrorCause::generic : fileErrorCauseFromErrno(errorNumber);
}

// Reads up to maxBytes through read, which gives at most the bytes asked for and 0 at the
// end; more than maxBytes is refused.
template <class Read>
FileReadResult readBounded(std::uint64_t expectedSize, std::uint64_t maxBytes, Read read) {
    FileReadResult result;
    // Refused before anything is allocated; the read below stays bounded too, for files
    // that grow meanwhile.
    if (expectedSize > maxBytes) {
        result.error = FileErrorCause::tooLarge;
        return result;
    }
    result.data.reserve(static_cast<std::size_t>(expectedSize));
    std::uint8_t chunk[65536];
    for (;;) {
        errno = 0;
        const long got = read(chunk, sizeof chunk);
        if (got < 0) {
            result.error = causeOf(errno);
            result.data.clear();
            return result;
        }
        if (got == 0)
            return result;
        if (result.data.size() + static_cast<std::size_t>(got) > maxBytes) {
            result.error = FileErrorCause::tooLarge;
            result.data.clear();
            return result;
        }
        result.data.insert(result.data.end(), chunk, chunk + got);
    }
}

} // namespace

#if defined(__linux__) && !defined(PIXMORPH_PORTABLE_FILES)

FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    // Looked at before it is opened: opening a FIFO waits for a writer, opening a device may
    // act on it. The file opened is looked at again, in case it was swapped in between.
    struct stat status {};
    errno = 0;
    if (::stat(path.c_str(), &status) != 0)
        return {{}, causeOf(errno)};
    if (!S_ISREG(status.st_mode))
        return {{}, FileErrorCause::notRegularFile};
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return {{}, causeOf(errno)};
    FileReadResult result;
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        result.error = FileErrorCause::notRegularFile;
    } else {
        result = readBounded(static_cast<std::uint64_t>(status.st_size), maxBytes,
                             [file](std::uint8_t* into, std::size_t size) {
                                 ssize_t got;
                                 while ((got = ::read(file, into, size)) < 0 && errno == EINTR) {
                                 }
                                 return static_cast<long>(got);
                             });
    }
    ::close(file);
    return result;
}

#else

FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error)
        return {{}, causeOf(error.value())};
    if (!fs::is_regular_file(status))
        return {{}, FileErrorCause::notRegularFile};
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {{}, causeOf(errno)};
    const std::uintmax_t size = fs::file_size(path, error);
    FileReadResult result =
        readBounded(error ? 0 : size, maxBytes, [file](std::uint8_t* into, std::size_t size) {
            const std::size_t got = std::fread(into, 1, size, file);
            return got == 0 && std::ferror(file) ? -1L : static_cast<long>(got);
        });
    std::fclose(file);
    return result;
}

#endif

WriteResult writeFileBeneath(const std::string& folder, std::string_view name, Bytes data) {
    const std::size_t slash = name.rfind('/');
    const std::string_view levels = slash == std::string_view::npos ? "" : name.substr(0, slash);
    const std::string_view fileName = name.substr(slash + 1);
    WriteResult result{FileErrorCause::none, pathBeneath(folder, name)};
    OutputFolder output;
    std::string failedLevel;
    result.cause = output.open(folder, levels, failedLevel);
    if (!result.ok()) {
        if (!failedLevel.empty())
            result.path = failedLevel;
        return result;
    }
    PendingFile file;
    result.cause = output.write(fileName, data, file, true);
    if (result.ok())
        result.cause = output.place(file);
    return result;
}

FileErrorCause writeFileAtomically(const std::string& path, Bytes data) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return writeFileBeneath({}, path, data).cause;
    return writeFileBeneath(slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1), data)
        .cause;
}

std::optional<std::uint64_t> freeSpace(const std::string& folder) {
    std::error_code error;
    const fs::space_info space = fs::space(folder.empty() ? "." : folder, error);
    if (error || space.available == static_cast<std::uintmax_t>(-1))
        return std::nullopt;
    return space.available;
}

// What is kept of one set of staged files. While batches of the set are queued the writer
// alone touches folder, written, error and failedName; the set reads them once they are done.
struct StagedFiles::State {
    explicit State(std::string path) : folderPath(std::move(path)) {}

    // Writes one file of the set, unless the set has failed or is dropped; a failure is kept.
    void write(const File& staged) {
        if (error != FileErrorCause::none || dropped.load(std::memory_order_relaxed))
            return;
        std::string failedLevel;
        if (!folder.isOpen())
            error = folder.open(folderPath, {}, failedLevel);
        PendingFile file;
        if (error == FileErrorCause::none) {
            try {
                error = folder.write(staged.name, staged.data, file, takeUnnamedFileSlot());
            } catch (...) {
                error = FileErrorCause::generic;
            }
            if (error == FileErrorCause::none && file.descriptor < 0)
                releaseUnnamedFileSlot();
        }
        if (error != FileErrorCause::none) {
            failedName = staged.name;
            failed.store(true, std::memory_order_release);
            return;
        }
        written.push_back(std::move(file));
    }

    const std::string folderPath;
    OutputFolder folder;
    std::vector<PendingFile> written;
    FileErrorCause error = FileErrorCause::none;
    std::string failedName;
    std::atomic<bool> failed = false;  // error is set: later adds fail at once
    std::atomic<bool> dropped = false; // the set is dropped: its queued files are not written
    std::size_t queued = 0;            // batches handed to the writer; the set's side only
    std::size_t done = 0;              // batches written, under the writer's mutex
    std::size_t awaited = 0;           // under the writer's mutex: a waiter wants this many done
};

#ifndef PIXMORPH_NO_THREADS
namespace {

// One thread writes the batches of every set, in the order they are queued, so that a run of
// many small sprites starts no thread per sprite. A failure ends only the set it belongs to.
class StagedFilesWriter {
public:
    using State = StagedFiles::State;
    using File = StagedFiles::File;

    static StagedFilesWriter& instance() {
        static StagedFilesWriter writer;
        return writer;
    }

    bool push(State& set, std::vector<File> files, std::size_t bytes) {
        return queue_.push({&set, std::move(files)}, bytes);
    }

    // Waits until every batch queued for the set has been written or passed over.
    void waitForAll(State& set) {
        std::unique_lock lock(mutex_);
        if (set.done == set.queued)
            return;
        set.awaited = set.queued;
        setDone_.wait(lock, [&] { return set.done == set.queued; });
        set.awaited = 0;
    }

private:
    struct Batch {
        State* set;
        std::vector<File> files;
    };

    StagedFilesWriter()
        : thread_([this](const std::stop_token& stop) {
              // The process ends: a writer waiting for work is released.
              const std::stop_callback release(stop, [this] { queue_.cancel(); });
              while (std::optional<Batch> batch = queue_.pop()) {
                  for (const File& file : batch->files)
                      batch->set->write(file);
                  std::lock_guard lock(mutex_);
                  if (++batch->set->done == batch->set->awaited)
                      setDone_.notify_all();
              }
          }) {}

    BoundedQueue<Batch> queue_{StagedFiles::kMostPendingBytes};
    std::mutex mutex_;
    std::condition_variable setDone_;
    std::jthread thread_; // last: stopped and joined before the rest goes
};

} // namespace
#endif

StagedFiles::StagedFiles(std::string folder)
    : folder_(folder), state_(std::make_unique<State>(std::move(folder))) {}

StagedFiles::~StagedFiles() {
    finishWrites(false);
}

FileErrorCause StagedFiles::add(std::string name, ByteVector data) {
    if (error_ != FileErrorCause::none)
        return error_;
    if (!state_) // a set committed before: the next files are a set of their own
        state_ = std::make_unique<State>(folder_);
    if (state_->failed.load(std::memory_order_acquire))
        return finishWrites(false);
    batchBytes_ += data.size();
    batch_.push_back({std::move(name), std::move(data)});
    if (batchBytes_ >= kBatchBytes)
        return handOverBatch();
    return FileErrorCause::none;
}

FileErrorCause StagedFiles::handOverBatch() {
    if (batch_.empty())
        return FileErrorCause::none;
    const std::size_t bytes = std::exchange(batchBytes_, 0);
#ifdef PIXMORPH_NO_THREADS
    // Without threads the batch is written here, as commit() writes a set smaller than one.
    (void)bytes;
    for (const File& file : std::exchange(batch_, {}))
        state_->write(file);
    return state_->failed.load(std::memory_order_acquire) ? finishWrites(false)
                                                          : FileErrorCause::none;
#else
    if (!StagedFilesWriter::instance().push(*state_, std::exchange(batch_, {}), bytes)) {
        error_ = FileErrorCause::generic;
        return error_;
    }
    ++state_->queued;
    return FileErrorCause::none;
#endif
}

FileErrorCause StagedFiles::finishWrites(bool writeQueued) {
    if (!state_)
        return error_;
    if (!writeQueued) {
        state_->dropped.store(true, std::memory_order_relaxed);
        batch_.clear();
        batchBytes_ = 0;
    } else if (state_->queued == 0) {
        // A set smaller than a batch is written here: handing it to the writer and waiting
        // would cost more than it overlaps.
        for (const File& file : std::exchange(batch_, {}))
            state_->write(file);
        batchBytes_ = 0;
    } else if (handOverBatch() != FileErrorCause::none) {
        finishWrites(false);
        return error_;
    }
#ifndef PIXMORPH_NO_THREADS
    StagedFilesWriter::instance().waitForAll(*state_);
#endif
    // The bound on unnamed files held open is for the writing; naming them follows at once.
    for (const PendingFile& file : state_->written)
        if (file.descriptor >= 0)
            releaseUnnamedFileSlot();
    const FileErrorCause error = state_->error;
    if (error != FileErrorCause::none) {
        error_ = error;
        failedPath_ = pathBeneath(folder_, state_->failedName);
    }
    if (error != FileErrorCause::none || !writeQueued) {
        for (PendingFile& file : state_->written)
            state_->folder.drop(file);
        state_.reset();
    }
    return error;
}

FileErrorCause StagedFiles::commit() {
    if (error_ != FileErrorCause::none)
        return error_;
    if (const FileErrorCause error = finishWrites(true); error != FileErrorCause::none)
        return error;
    if (!state_)
        return FileErrorCause::none;
    std::unique_ptr<State> set = std::move(state_);
    FileErrorCause cause = FileErrorCause::none;
    for (PendingFile& file : set->written) {
        if (cause == FileErrorCause::none) {
            cause = set->folder.place(file);
            if (cause != FileErrorCause::none) {
                error_ = cause;
                failedPath_ = pathBeneath(folder_, file.name);
            }
        } else {
            set->folder.drop(file);
        }
    }
    return cause;
}

} // namespace pixmorph
