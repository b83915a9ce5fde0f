#include "core/file_io.h"

#include "core/bounded_queue.h"
#include "core/output_folder.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

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

// The thread that writes the staged files, in the order they are queued. It stops at the first
// failure, which it keeps for the caller; the caller reads what it wrote once it has ended.
struct StagedFiles::Writer {
    struct Job {
        std::string name;
        ByteVector data;
    };

    explicit Writer(const std::string& folderPath)
        : thread([this, folderPath](std::stop_token stop) { run(stop, folderPath); }) {}

    void run(const std::stop_token& stop, const std::string& folderPath) {
        // A stop (the set is dropped) releases a writer waiting for work.
        const std::stop_callback release(stop, [this] { queue.cancel(); });
        while (std::optional<Job> job = queue.pop()) {
            std::string failedLevel;
            if (!folder.isOpen())
                error = folder.open(folderPath, {}, failedLevel);
            PendingFile file;
            if (error == FileErrorCause::none) {
                try {
                    error = folder.write(job->name, job->data, file, takeUnnamedFileSlot());
                } catch (...) {
                    error = FileErrorCause::generic;
                }
                if (error == FileErrorCause::none && file.descriptor < 0)
                    releaseUnnamedFileSlot();
            }
            if (error != FileErrorCause::none) {
                failedName = job->name;
                queue.cancel();
                return;
            }
            written.push_back(std::move(file));
        }
    }

    BoundedQueue<Job> queue{kMostPendingBytes};
    OutputFolder folder;
    std::vector<PendingFile> written;
    FileErrorCause error = FileErrorCause::none;
    std::string failedName;
    std::jthread thread; // last: stopped and joined before the rest goes
};

StagedFiles::StagedFiles(std::string folder) : folder_(std::move(folder)) {}

StagedFiles::~StagedFiles() {
    finishWrites(false);
}

FileErrorCause StagedFiles::add(std::string name, ByteVector data) {
    if (error_ != FileErrorCause::none)
        return error_;
    if (!writer_)
        writer_ = std::make_unique<Writer>(folder_);
    const std::size_t bytes = data.size();
    if (writer_->queue.push({std::move(name), std::move(data)}, bytes))
        return FileErrorCause::none;
    return finishWrites(false);
}

FileErrorCause StagedFiles::finishWrites(bool writeQueued) {
    if (!writer_)
        return FileErrorCause::none;
    if (writeQueued) {
        writer_->queue.close();
        writer_->thread.join();
    } else {
        writer_->thread = {}; // stops it after the file under way, and joins it
    }
    // The bound on unnamed files held open is for the writing; naming them follows at once.
    for (const PendingFile& file : writer_->written)
        if (file.descriptor >= 0)
            releaseUnnamedFileSlot();
    const FileErrorCause error = writer_->error;
    if (error != FileErrorCause::none) {
        error_ = error;
        failedPath_ = pathBeneath(folder_, writer_->failedName);
    }
    if (error != FileErrorCause::none || !writeQueued) {
        for (PendingFile& file : writer_->written)
            writer_->folder.drop(file);
        writer_.reset();
    }
    return error;
}

FileErrorCause StagedFiles::commit() {
    if (error_ != FileErrorCause::none)
        return error_;
    if (const FileErrorCause error = finishWrites(true); error != FileErrorCause::none)
        return error;
    if (!writer_)
        return FileErrorCause::none;
    std::unique_ptr<Writer> writer = std::move(writer_);
    FileErrorCause cause = FileErrorCause::none;
    for (PendingFile& file : writer->written) {
        if (cause == FileErrorCause::none) {
            cause = writer->folder.place(file);
            if (cause != FileErrorCause::none) {
                error_ = cause;
                failedPath_ = pathBeneath(folder_, file.name);
            }
        } else {
            writer->folder.drop(file);
        }
    }
    return cause;
}

} // namespace pixmorph
