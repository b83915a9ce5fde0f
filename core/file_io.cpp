#include "core/file_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pixmorph {

namespace {

// Closes the descriptor when the scope ends, whatever path leaves it.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the error the close found (late write errors surface here).
    int closeNow() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

FileErrorCause lastError() {
    return fileErrorCauseFromErrno(errno);
}

bool writeAll(int fd, Bytes data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// A fresh name beside the target; created exclusively, so it can never be someone else's file.
int createTemporaryBeside(const std::filesystem::path& target, std::string& temporaryPath) {
    static std::mt19937_64 names(std::random_device{}());
    const std::filesystem::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            "." + target.filename().string() + "." + std::to_string(names() % 1000000000) + ".tmp";
        temporaryPath = (folder.empty() ? std::filesystem::path(name) : folder / name).string();
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    FileReadResult result;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        result.error = lastError();
        return result;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        result.error = lastError();
        return result;
    }
    if (S_ISDIR(status.st_mode)) {
        result.error = fileErrorCauseFromErrno(EISDIR);
        return result;
    }
    // Refused before anything is allocated; the read below stays bounded too, for files
    // that grow meanwhile or report no size.
    if (static_cast<std::uint64_t>(std::max<off_t>(status.st_size, 0)) > maxBytes) {
        result.error = FileErrorCause::generic;
        return result;
    }
    result.data.reserve(static_cast<std::size_t>(status.st_size));
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.error = lastError();
            result.data.clear();
            return result;
        }
        if (got == 0)
            break;
        if (result.data.size() + static_cast<std::uint64_t>(got) > maxBytes) {
            result.error = FileErrorCause::generic;
            result.data.clear();
            return result;
        }
        result.data.insert(result.data.end(), chunk, chunk + got);
    }
    return result;
}

FileErrorCause writeFileAtomically(const std::string& path, Bytes data) {
    std::filesystem::path target(path);
    std::error_code ignored;
    // Writing through a link replaces what it points at, not the link.
    if (std::filesystem::is_symlink(target, ignored))
        target = std::filesystem::weakly_canonical(target, ignored);

    std::string temporaryPath;
    Descriptor file(createTemporaryBeside(target, temporaryPath));
    if (file.get() < 0)
        return lastError();

    auto fail = [&](int errorNumber) {
        ::unlink(temporaryPath.c_str());
        return fileErrorCauseFromErrno(errorNumber);
    };
    // A replaced file keeps its permissions.
    struct stat earlier {};
    if (::stat(target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode))
        ::fchmod(file.get(), earlier.st_mode & 07777);
    if (!writeAll(file.get(), data))
        return fail(errno);
    if (const int closeError = file.closeNow(); closeError != 0)
        return fail(closeError);
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0)
        return fail(errno);
    return FileErrorCause::none;
}

} // namespace pixmorph
