#include "core/file_io.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>

namespace pixmorph {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// The error the C library left behind, or a generic one when it left none.
FileErrorCause lastError() {
    return errno == 0 ? FileErrorCause::generic : fileErrorCauseFromErrno(errno);
}

// A fresh name beside the target, created exclusively, so it can never be someone else's file.
FilePointer createTemporaryBeside(const fs::path& target, std::string& temporaryPath) {
    thread_local std::mt19937_64 names(std::random_device{}());
    // Put together as text: path arithmetic splits the whole path into its parts every time,
    // which cost more than the rest of writing a small file.
    const std::string& whole = target.native();
    const std::size_t nameStart = whole.rfind(fs::path::preferred_separator) + 1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string number = std::to_string(names() % 1000000000);
        temporaryPath.assign(whole, 0, nameStart);
        temporaryPath.append(".")
            .append(whole, nameStart)
            .append(".")
            .append(number)
            .append(".tmp");
        errno = 0;
        FilePointer file(std::fopen(temporaryPath.c_str(), "wbx"));
        if (file || errno != EEXIST)
            return file;
    }
    return nullptr;
}

} // namespace

FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    FileReadResult result;
    std::error_code error;
    if (fs::is_directory(path, error)) {
        result.error = fileErrorCauseFromErrno(EISDIR);
        return result;
    }
    errno = 0;
    FilePointer file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.error = lastError();
        return result;
    }
    // Refused before anything is allocated; the read below stays bounded too, for files
    // that grow meanwhile or report no size.
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > maxBytes) {
        result.error = FileErrorCause::tooLarge;
        return result;
    }
    if (!error)
        result.data.reserve(static_cast<std::size_t>(size));
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (result.data.size() + got > maxBytes) {
            result.error = FileErrorCause::tooLarge;
            result.data.clear();
            return result;
        }
        result.data.insert(result.data.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            if (std::ferror(file.get())) {
                result.error = lastError();
                result.data.clear();
            }
            return result;
        }
    }
}

namespace {

// Writes the data to a new temporary file beside the target, leaving the target as it is; on
// failure nothing is left behind.
FileErrorCause writeBeside(const std::string& path, Bytes data, fs::path& target,
                           std::string& temporaryPath) {
    target = path;
    std::error_code error;
    // Writing through a link replaces what it points at, not the link.
    fs::file_status earlier = fs::symlink_status(target, error);
    if (fs::is_symlink(earlier)) {
        target = fs::weakly_canonical(target, error);
        earlier = fs::status(target, error);
    }

    FilePointer file = createTemporaryBeside(target, temporaryPath);
    if (!file)
        return lastError();
    // The bytes are complete already: one write straight from them, no stream buffer.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    auto fail = [&](FileErrorCause cause) {
        file.reset();
        std::error_code ignored;
        fs::remove(temporaryPath, ignored);
        return cause;
    };
    // A replaced file keeps its permissions.
    if (fs::is_regular_file(earlier))
        fs::permissions(temporaryPath, earlier.permissions(), error);

    errno = 0;
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file.get()) != data.size())
        return fail(lastError());
    // Some write errors (a full disk on a network file system) surface only at the close.
    errno = 0;
    if (std::fclose(file.release()) != 0)
        return fail(lastError());
    return FileErrorCause::none;
}

FileErrorCause renameOver(const std::string& temporaryPath, const fs::path& target) {
    errno = 0;
    if (std::rename(temporaryPath.c_str(), target.c_str()) == 0)
        return FileErrorCause::none;
    const FileErrorCause cause = lastError();
    std::error_code ignored;
    fs::remove(temporaryPath, ignored);
    return cause;
}

} // namespace

FileErrorCause writeFileAtomically(const std::string& path, Bytes data) {
    fs::path target;
    std::string temporaryPath;
    if (const FileErrorCause cause = writeBeside(path, data, target, temporaryPath);
        cause != FileErrorCause::none)
        return cause;
    return renameOver(temporaryPath, target);
}

struct StagedFiles::Staged {
    std::string path;
    fs::path target;
    std::string temporaryPath;
};

struct StagedFiles::Job {
    std::string path;
    ByteVector data;
};

// The thread that writes the staged files, fed through a queue. Each side wakes the other only
// when it waits, and a caller held back by a full queue resumes only when half of it is
// written, so files are handed over without a system call each.
struct StagedFiles::Writer {
    std::mutex mutex;
    std::condition_variable work; // the writer waits for jobs
    std::condition_variable room; // the caller waits for room, or for the end of the writes
    std::deque<Job> queue;
    std::size_t pendingBytes = 0;
    bool busy = false; // a job taken from the queue is being written
    // Drop what is queued and end; read without the lock between two files.
    std::atomic<bool> stopping = false;
    // Read without the lock by the caller, to hand files over at once to an idle writer.
    std::atomic<bool> writerWaits = false;
    bool callerWaits = false;
    // The first failure; once set, nothing more is written.
    FileErrorCause error = FileErrorCause::none;
    std::string failedPath;
    std::vector<Staged> written;
    std::thread thread;

    Writer() : thread([this] { run(); }) {}
    ~Writer() { stop(); }

    bool failed() const { return error != FileErrorCause::none; }
    bool idle() const { return queue.empty() && !busy; }
    bool hasRoomFor(std::size_t size) const {
        return failed() || pendingBytes == 0 ||
               (pendingBytes <= kMostPendingBytes / 2 && pendingBytes + size <= kMostPendingBytes);
    }

    // Waits, with the lock held, for a failure or for what the caller needs.
    template <class Condition>
    void waitAsCaller(std::unique_lock<std::mutex>& lock, Condition condition) {
        callerWaits = true;
        room.wait(lock, [&] { return failed() || condition(); });
        callerWaits = false;
    }

    // Hands jobs over, or lets them go after a failure.
    void push(std::vector<Job>& jobs, std::size_t bytes) {
        std::unique_lock lock(mutex);
        waitAsCaller(lock, [&] { return hasRoomFor(bytes); });
        if (failed()) {
            jobs.clear();
            return;
        }
        pendingBytes += bytes;
        for (Job& job : jobs)
            queue.push_back(std::move(job));
        jobs.clear();
        if (writerWaits)
            work.notify_one();
    }

    void stop() {
        if (!thread.joinable())
            return;
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        work.notify_one();
        thread.join();
    }

    void run() {
        std::unique_lock lock(mutex);
        std::deque<Job> taken;
        for (;;) {
            writerWaits = true;
            work.wait(lock, [this] { return stopping || !queue.empty(); });
            writerWaits = false;
            if (stopping)
                return;
            // Everything queued is taken at once: one lock for many files.
            taken.swap(queue);
            busy = true;
            lock.unlock();
            std::vector<Staged> done;
            std::size_t doneBytes = 0;
            FileErrorCause cause = FileErrorCause::none;
            std::string failedJob;
            for (Job& job : taken) {
                if (stopping.load(std::memory_order_relaxed))
                    break;
                Staged staged{job.path, {}, {}};
                cause = FileErrorCause::generic;
                try {
                    cause = writeBeside(job.path, job.data, staged.target, staged.temporaryPath);
                } catch (...) {
                }
                doneBytes += job.data.size();
                job.data = {};
                if (cause != FileErrorCause::none) {
                    failedJob = job.path;
                    break;
                }
                done.push_back(std::move(staged));
            }
            taken.clear();
            lock.lock();
            busy = false;
            pendingBytes -= doneBytes;
            for (Staged& staged : done)
                written.push_back(std::move(staged));
            if (cause != FileErrorCause::none) {
                error = cause;
                failedPath = failedJob;
                queue.clear();
                pendingBytes = 0;
            }
            if (callerWaits)
                room.notify_one();
            if (failed())
                return;
        }
    }
};

StagedFiles::StagedFiles() = default;

StagedFiles::~StagedFiles() {
    // Whatever still waits is dropped; what was written is removed.
    finishWrites(false);
    discard();
}

FileErrorCause StagedFiles::add(const std::string& path, ByteVector data) {
    if (!writer_)
        writer_ = std::make_unique<Writer>();
    // Files go over in batches, each a single exchange with the writer, or at once when the
    // writer has nothing to do (at the start, or when it has caught up).
    constexpr std::size_t kBatchFiles = 32;
    constexpr std::size_t kBatchBytes = 256u << 10;
    batchBytes_ += data.size();
    batch_.push_back({path, std::move(data)});
    if (batch_.size() >= kBatchFiles || batchBytes_ >= kBatchBytes ||
        writer_->writerWaits.load(std::memory_order_relaxed)) {
        writer_->push(batch_, batchBytes_);
        batchBytes_ = 0;
        std::lock_guard lock(writer_->mutex);
        if (!writer_->failed())
            return FileErrorCause::none;
    } else {
        return FileErrorCause::none;
    }
    return finishWrites(true);
}

FileErrorCause StagedFiles::finishWrites(bool waitForQueue) {
    if (!writer_)
        return FileErrorCause::none;
    if (waitForQueue) {
        writer_->push(batch_, batchBytes_);
        batchBytes_ = 0;
        Writer& writer = *writer_;
        std::unique_lock lock(writer.mutex);
        writer.waitAsCaller(lock, [&] { return writer.idle(); });
    }
    // Ends the thread; a write under way is finished first.
    batch_.clear();
    batchBytes_ = 0;
    writer_->stop();
    const FileErrorCause error = writer_->error;
    failedPath_ = writer_->failedPath;
    for (Staged& staged : writer_->written)
        staged_.push_back(std::move(staged));
    writer_.reset();
    if (error != FileErrorCause::none)
        discard();
    return error;
}

FileErrorCause StagedFiles::commit() {
    if (const FileErrorCause error = finishWrites(true); error != FileErrorCause::none)
        return error;
    for (std::size_t i = 0; i < staged_.size(); ++i) {
        const FileErrorCause cause = renameOver(staged_[i].temporaryPath, staged_[i].target);
        if (cause != FileErrorCause::none) {
            failedPath_ = staged_[i].path;
            staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            discard();
            return cause;
        }
    }
    staged_.clear();
    return FileErrorCause::none;
}

void StagedFiles::discard() {
    for (const Staged& staged : staged_) {
        std::error_code ignored;
        fs::remove(staged.temporaryPath, ignored);
    }
    staged_.clear();
}

} // namespace pixmorph
