#include "archive/isolated_read.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixmorph {

namespace {

using Clock = std::chrono::steady_clock;

struct ChildReport {
    std::uint32_t succeeded = 0;
    std::uint32_t bytesRead = 0;
};

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

[[noreturn]] void runChild(int fd, const BufferRead& read, void* buffer, std::uint32_t byteCount) {
    // What the reader prints as it fails (an assertion's text) is not for the user: the parent
    // reports the failed read in its own words, on one line.
    if (const int quiet = ::open("/dev/null", O_WRONLY); quiet >= 0) {
        ::dup2(quiet, STDERR_FILENO);
        ::close(quiet);
    }
    ChildReport report;
    std::uint32_t bytesRead = 0;
    const bool succeeded = read(buffer, byteCount, bytesRead) && bytesRead <= byteCount;
    report.succeeded = succeeded ? 1 : 0;
    report.bytesRead = succeeded ? bytesRead : 0;
    const bool sent =
        writeAll(fd, &report, sizeof report) && writeAll(fd, buffer, report.bytesRead);
    // _exit: the child must not run the parent's exit handlers or flush its streams.
    ::_exit(sent ? 0 : 1);
}

// Reads exactly size bytes unless the pipe closes or the deadline passes.
bool readAll(int fd, void* data, std::size_t size, Clock::time_point deadline) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::read(fd, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool exitedCleanly(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool readInChildProcess(const BufferRead& read, void* buffer, std::uint32_t byteCount,
                        std::uint32_t& bytesRead, std::chrono::milliseconds deadline) {
    bytesRead = 0;
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(fds[1], read, buffer, byteCount);
    }
    ::close(fds[1]);

    const auto until = Clock::now() + deadline;
    ChildReport report;
    bool received = readAll(fds[0], &report, sizeof report, until) &&
                    report.bytesRead <= byteCount &&
                    readAll(fds[0], buffer, report.bytesRead, until);
    if (!received)
        ::kill(child, SIGKILL);
    ::close(fds[0]);
    received = exitedCleanly(child) && received;
    if (!received || report.succeeded == 0)
        return false;
    bytesRead = report.bytesRead;
    return true;
}

} // namespace pixmorph
