#include "core/output_folder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <utility>

#if defined(__linux__) && !defined(PIXMORPH_PORTABLE_FILES)
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#else
#include <filesystem>
#endif

namespace pixmorph {

namespace {

// Temporary names: ".NAME.PID.RANDOM.tmp", RANDOM eight hexadecimal digits. The writer's
// process number tells a later run whether the writer is gone. The copy of the name is cut so
// that the temporary name is never longer than the longest name a folder takes.
constexpr std::size_t kLongestName = 255;
constexpr std::string_view kTemporaryEnd = ".tmp";

std::string temporaryNameFor(std::string_view name, long process) {
    thread_local std::mt19937 numbers(std::random_device{}());
    char tail[40];
    std::snprintf(tail, sizeof tail, ".%ld.%08x", process, static_cast<unsigned>(numbers()));
    const std::size_t room =
        kLongestName - 1 - std::string_view(tail).size() - kTemporaryEnd.size();
    std::size_t kept = std::min(name.size(), room);
    // Not in the middle of a character written in UTF-8.
    while (kept < name.size() && kept > 0 &&
           (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    std::string temporary = ".";
    temporary.append(name.substr(0, kept)).append(tail).append(kTemporaryEnd);
    return temporary;
}

FileErrorCause causeOf(int errorNumber) {
    return errorNumber == 0 ? FileErrorCause::generic : fileErrorCauseFromErrno(errorNumber);
}

// The writer's process number when name is one of our temporary names (where processes can be
// asked whether they run).
[[maybe_unused]] std::optional<long> writerOfTemporary(std::string_view name) {
    if (!name.starts_with('.') || !name.ends_with(kTemporaryEnd))
        return std::nullopt;
    name.remove_suffix(kTemporaryEnd.size());
    const auto isHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    if (name.size() < 9 || name[name.size() - 9] != '.' ||
        !std::all_of(name.end() - 8, name.end(), isHex))
        return std::nullopt;
    name.remove_suffix(9);
    const std::size_t dot = name.rfind('.');
    const std::string_view digits = name.substr(dot + 1);
    if (dot == 0 || dot == std::string_view::npos || digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stol(std::string(digits));
}

} // namespace

#if defined(__linux__) && !defined(PIXMORPH_PORTABLE_FILES)

namespace {

std::atomic<bool> noOpenat2 = false;
std::atomic<bool> noUnnamedFiles = false;

std::mutex sweptMutex;
std::set<std::pair<dev_t, ino_t>> sweptFolders;

// Removes the temporary files of writers that are gone, once per folder and process. A
// concurrent run's files carry a live process number and stay.
void sweepOnce(int folder) {
    struct stat self {};
    if (::fstat(folder, &self) != 0)
        return;
    {
        std::lock_guard lock(sweptMutex);
        if (!sweptFolders.insert({self.st_dev, self.st_ino}).second)
            return;
    }
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    DIR* entries = ::fdopendir(listing);
    if (!entries) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const auto writer = writerOfTemporary(entry->d_name);
        if (writer && *writer > 0 && *writer != ::getpid() &&
            ::kill(static_cast<pid_t>(*writer), 0) != 0 && errno == ESRCH)
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

// Opens one level beneath folder without following a link, creating it when missing.
int openLevel(int folder, const std::string& level) {
    constexpr int kFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int opened = ::openat(folder, level.c_str(), kFlags);
    if (opened < 0 && errno == ENOENT &&
        (::mkdirat(folder, level.c_str(), 0777) == 0 || errno == EEXIST))
        opened = ::openat(folder, level.c_str(), kFlags);
    return opened;
}

bool isLink(int folder, const std::string& name) {
    struct stat status {};
    return ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(status.st_mode);
}

// The levels one at a time; a link among them is refused by name.
FileErrorCause openLevelByLevel(int& folder, std::string_view levels, const std::string& top,
                                std::string& failedPath) {
    std::string walked = top;
    while (!levels.empty()) {
        const std::size_t slash = levels.find('/');
        const std::string level(levels.substr(0, slash));
        levels = slash == std::string_view::npos ? std::string_view{} : levels.substr(slash + 1);
        walked += walked.empty() || walked.back() == '/' ? level : "/" + level;
        const int next = openLevel(folder, level);
        const int error = errno;
        if (next < 0) {
            failedPath = walked;
            return isLink(folder, level) ? FileErrorCause::linkInPath : causeOf(error);
        }
        ::close(folder);
        folder = next;
    }
    return FileErrorCause::none;
}

// The levels at once, resolved beneath the folder with no link followed; -1 where the kernel
// cannot, or something is missing or refused (the walk level by level then says what).
int openBeneath(int folder, std::string_view levels) {
    if (noOpenat2)
        return -1;
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    const std::string path(levels);
    const long opened = ::syscall(SYS_openat2, folder, path.c_str(), &how, sizeof how);
    if (opened < 0 && errno == ENOSYS)
        noOpenat2 = true;
    return static_cast<int>(opened);
}

// The number of unnamed files that may be held open: half of what this process may open,
// raised first to what the system allows it.
int unnamedFileBound() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 16;
    constexpr rlim_t kWanted = 1u << 16;
    if (limit.rlim_cur < kWanted && limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = std::min(limit.rlim_max, kWanted);
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    const rlim_t usable = limit.rlim_cur > 256 ? limit.rlim_cur - 128 : 32;
    return static_cast<int>(std::min<rlim_t>(usable / 2, kWanted));
}

std::atomic<int> unnamedFilesHeld = 0;

bool writeAll(int descriptor, Bytes data) {
    const std::uint8_t* at = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, at, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        at += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Whether this process may write the file (a replaced file keeps its permissions, so one it
// may not change is not replaced either).
bool mayWrite(int folder, const char* name, const struct stat& status) {
    if (::geteuid() == 0)
        return true;
    if (status.st_uid == ::geteuid())
        return (status.st_mode & S_IWUSR) != 0;
    return ::faccessat(folder, name, W_OK, AT_EACCESS) == 0;
}

enum class Naming { emptyPath, procLink, none };
std::atomic<Naming> naming = Naming::emptyPath;

// Gives an unnamed file the name; EEXIST when something stands there. The descriptor itself
// names it where the kernel lets this process do so (a file it opened, since Linux 6.10;
// before, only with a privilege), else its path in /proc, which costs a lookup of that path.
bool linkUnnamed(int descriptor, int folder, const std::string& name) {
    for (;;) {
        const Naming way = naming;
        int linked = -1;
        if (way == Naming::emptyPath) {
            linked = ::linkat(descriptor, "", folder, name.c_str(), AT_EMPTY_PATH);
        } else if (way == Naming::procLink) {
            const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
            linked = ::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW);
        } else {
            errno = EOPNOTSUPP;
            return false;
        }
        if (linked == 0)
            return true;
        const bool wayFailed = way == Naming::emptyPath
                                   ? errno == ENOENT || errno == EPERM
                                   : errno == ENOENT && ::access("/proc/self/fd", X_OK) != 0;
        if (!wayFailed)
            return false;
        naming = way == Naming::emptyPath ? Naming::procLink : Naming::none;
    }
}

// Gives an unnamed file a fresh temporary name.
bool nameTemporarily(int descriptor, int folder, PendingFile& file) {
    for (;;) {
        file.temporary = temporaryNameFor(file.name, ::getpid());
        if (linkUnnamed(descriptor, folder, file.temporary))
            return true;
        if (errno != EEXIST) {
            const int error = errno;
            file.temporary.clear();
            errno = error;
            return false;
        }
    }
}

} // namespace

void pretendOldSystemForTests(bool withoutOpenat2, bool withoutUnnamedFiles) {
    noOpenat2 = withoutOpenat2;
    noUnnamedFiles = withoutUnnamedFiles;
    // As a fresh process would, it sweeps every folder again.
    std::lock_guard lock(sweptMutex);
    sweptFolders.clear();
}

bool takeUnnamedFileSlot() {
    static const int bound = unnamedFileBound();
    if (unnamedFilesHeld.fetch_add(1) < bound)
        return true;
    unnamedFilesHeld.fetch_sub(1);
    return false;
}

void releaseUnnamedFileSlot() {
    unnamedFilesHeld.fetch_sub(1);
}

OutputFolder::~OutputFolder() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool OutputFolder::isOpen() const {
    return descriptor_ >= 0;
}

FileErrorCause OutputFolder::open(const std::string& folder, std::string_view levels,
                                  std::string& failedPath) {
    failedPath.clear();
    errno = 0;
    int opened = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0)
        return causeOf(errno);
    if (!levels.empty()) {
        if (const int beneath = openBeneath(opened, levels); beneath >= 0) {
            ::close(opened);
            opened = beneath;
        } else if (const FileErrorCause cause =
                       openLevelByLevel(opened, levels, folder, failedPath);
                   cause != FileErrorCause::none) {
            ::close(opened);
            return cause;
        }
    }
    sweepOnce(opened);
    descriptor_ = opened;
    // An unnamed file is named through /proc, or without it only with a privilege.
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
    unnamedFiles_ = canName && !noUnnamedFiles;
    return FileErrorCause::none;
}

FileErrorCause OutputFolder::write(std::string_view name, Bytes data, PendingFile& file,
                                   bool keepUnnamed) {
    file = PendingFile{std::string(name), {}, -1, false};
    struct stat target {};
    errno = 0;
    if (::fstatat(descriptor_, file.name.c_str(), &target, AT_SYMLINK_NOFOLLOW) == 0) {
        file.targetTaken = true;
        if (S_ISDIR(target.st_mode))
            return FileErrorCause::accessDenied;
        if (S_ISREG(target.st_mode) && !mayWrite(descriptor_, file.name.c_str(), target))
            return FileErrorCause::accessDenied;
    } else if (errno != ENOENT) {
        return causeOf(errno);
    }

    int descriptor = -1;
    if (unnamedFiles_) {
        descriptor = ::openat(descriptor_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (descriptor < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
            unnamedFiles_ = false;
        else if (descriptor < 0)
            return causeOf(errno);
    }
    while (descriptor < 0) {
        file.temporary = temporaryNameFor(name, ::getpid());
        errno = 0;
        descriptor = ::openat(descriptor_, file.temporary.c_str(),
                              O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            file.temporary.clear();
            return causeOf(errno);
        }
    }
    file.descriptor = descriptor;
    // A replaced file keeps its permissions.
    if (S_ISREG(target.st_mode) && file.targetTaken)
        ::fchmod(descriptor, target.st_mode & 07777);
    errno = 0;
    if (!writeAll(descriptor, data)) {
        const int error = errno;
        drop(file);
        return causeOf(error);
    }
    const bool unnamed = file.temporary.empty();
    if (unnamed && keepUnnamed)
        return FileErrorCause::none;
    // No room to keep it open: it waits under a temporary name, as a named one does.
    if (unnamed && !nameTemporarily(descriptor, descriptor_, file)) {
        const int error = errno;
        drop(file);
        return causeOf(error);
    }
    // Some write errors (a full disk on a network file system) surface only at the close.
    file.descriptor = -1;
    if (::close(descriptor) != 0 && errno != EINTR) {
        const int error = errno;
        drop(file);
        return causeOf(error);
    }
    return FileErrorCause::none;
}

FileErrorCause OutputFolder::place(PendingFile& file) {
    if (file.descriptor >= 0) {
        // Where nothing stood, the file takes its name at once; otherwise (or when something
        // has come there since) a temporary name, renamed over what stands there.
        bool linked = !file.targetTaken && linkUnnamed(file.descriptor, descriptor_, file.name);
        int error = errno;
        if (!linked && (file.targetTaken || error == EEXIST)) {
            linked = nameTemporarily(file.descriptor, descriptor_, file);
            error = errno;
        }
        ::close(file.descriptor);
        file.descriptor = -1;
        if (!linked)
            return causeOf(error);
        if (file.temporary.empty())
            return FileErrorCause::none;
    }
    if (::renameat(descriptor_, file.temporary.c_str(), descriptor_, file.name.c_str()) == 0) {
        file.temporary.clear();
        return FileErrorCause::none;
    }
    const int error = errno;
    drop(file);
    return causeOf(error);
}

void OutputFolder::drop(PendingFile& file) {
    if (file.descriptor >= 0)
        ::close(file.descriptor);
    if (!file.temporary.empty())
        ::unlinkat(descriptor_, file.temporary.c_str(), 0);
    file.descriptor = -1;
    file.temporary.clear();
}

#else

// Where the system calls above are missing: the same steps by path, with the links looked for
// before each step instead of refused by the kernel during it.

namespace fs = std::filesystem;

void pretendOldSystemForTests(bool, bool) {}
bool takeUnnamedFileSlot() {
    return false;
}
void releaseUnnamedFileSlot() {}

OutputFolder::~OutputFolder() = default;

bool OutputFolder::isOpen() const {
    return !path_.empty();
}

FileErrorCause OutputFolder::open(const std::string& folder, std::string_view levels,
                                  std::string& failedPath) {
    failedPath.clear();
    std::error_code error;
    fs::path path = folder.empty() ? fs::path(".") : fs::path(folder);
    if (!fs::is_directory(path, error))
        return error ? causeOf(error.value()) : FileErrorCause::badPath;
    while (!levels.empty()) {
        const std::size_t slash = levels.find('/');
        path /= std::string(levels.substr(0, slash));
        levels = slash == std::string_view::npos ? std::string_view{} : levels.substr(slash + 1);
        const fs::file_status status = fs::symlink_status(path, error);
        if (fs::is_symlink(status)) {
            failedPath = path.string();
            return FileErrorCause::linkInPath;
        }
        if (!fs::exists(status))
            fs::create_directory(path, error);
        if (!fs::is_directory(path, error)) {
            failedPath = path.string();
            return FileErrorCause::badPath;
        }
    }
    path_ = path.string();
    return FileErrorCause::none;
}

FileErrorCause OutputFolder::write(std::string_view name, Bytes data, PendingFile& file, bool) {
    file = PendingFile{std::string(name), {}, -1, false};
    std::error_code error;
    const fs::path target = fs::path(path_) / file.name;
    const fs::file_status earlier = fs::symlink_status(target, error);
    if (fs::is_directory(earlier))
        return FileErrorCause::accessDenied;
    std::FILE* out = nullptr;
    for (int attempt = 0; attempt < 100 && !out; ++attempt) {
        file.temporary = temporaryNameFor(name, 0);
        errno = 0;
        out = std::fopen((fs::path(path_) / file.temporary).c_str(), "wbx");
        if (!out && errno != EEXIST)
            break;
    }
    if (!out) {
        const int cause = errno;
        file.temporary.clear();
        return fileErrorCauseFromErrno(cause == 0 ? EIO : cause);
    }
    const bool written =
        data.empty() || std::fwrite(data.data(), 1, data.size(), out) == data.size();
    const int cause = errno;
    if (std::fclose(out) != 0 || !written) {
        drop(file);
        return fileErrorCauseFromErrno(cause == 0 ? EIO : cause);
    }
    if (fs::is_regular_file(earlier))
        fs::permissions(fs::path(path_) / file.temporary, earlier.permissions(), error);
    return FileErrorCause::none;
}

FileErrorCause OutputFolder::place(PendingFile& file) {
    std::error_code error;
    fs::rename(fs::path(path_) / file.temporary, fs::path(path_) / file.name, error);
    if (!error) {
        file.temporary.clear();
        return FileErrorCause::none;
    }
    drop(file);
    return fileErrorCauseFromErrno(error.value());
}

void OutputFolder::drop(PendingFile& file) {
    std::error_code ignored;
    if (!file.temporary.empty())
        fs::remove(fs::path(path_) / file.temporary, ignored);
    file.temporary.clear();
}

#endif

} // namespace pixmorph
