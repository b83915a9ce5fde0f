#include "archive/isolated_read.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixmorph {

namespace {

using Clock = std::chrono::steady_clock;

// Archive names are short; a longer request is a fault, not a name.
constexpr std::uint32_t kLongestName = 1u << 16;

struct Request {
    std::uint32_t nameLength = 0;
    std::uint32_t byteCount = 0;
};

struct Reply {
    std::uint32_t succeeded = 0;
    std::uint32_t bytesRead = 0;
};

enum class Received { all, closed, late };

bool sendAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        // MSG_NOSIGNAL: a peer that died makes this fail, not end the process.
        const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// Reads exactly size bytes unless the other end closes or the deadline passes
// (Clock::time_point::max() waits for ever).
Received receiveAll(int fd, void* data, std::size_t size, Clock::time_point until) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        int timeout = -1;
        if (until != Clock::time_point::max()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            if (left.count() <= 0)
                return Received::late;
            timeout = static_cast<int>(std::min<std::int64_t>(left.count(), 1 << 30));
        }
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, timeout);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return Received::late;
        if (ready < 0)
            return Received::closed;
        const ssize_t got = ::recv(fd, bytes, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Received::closed;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return Received::all;
}

// A long-lived child must not hold the parent's other descriptors open: a pipe's other end
// would never see it closed.
void closeAllBut(int keep) {
    unsigned first = 3;
    if (keep >= 3) {
        if (keep > 3)
            ::close_range(3, static_cast<unsigned>(keep) - 1, 0);
        first = static_cast<unsigned>(keep) + 1;
    }
    ::close_range(first, ~0u, 0);
}

} // namespace

IsolatedReader::IsolatedReader(NamedRead read, std::uint32_t capacity,
                               std::chrono::milliseconds deadline)
    : read_(std::move(read)), capacity_(capacity), deadline_(deadline) {}

IsolatedReader::~IsolatedReader() {
    stop();
    if (shared_)
        ::munmap(shared_, std::max<std::size_t>(capacity_, 1));
}

bool IsolatedReader::start() {
    if (!shared_) {
        // Pages are taken only as reads fill them.
        void* mapped = ::mmap(nullptr, std::max<std::size_t>(capacity_, 1), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (mapped == MAP_FAILED)
            return false;
        shared_ = mapped;
    }
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return false;
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(sockets[0]);
        ::close(sockets[1]);
        return false;
    }
    if (child == 0) {
        ::close(sockets[0]);
        // The child outlives no parent, whatever way the parent ends. (It also ends with the
        // thread that forked it; the next read then finds it gone and starts another.)
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(0);
        serve(sockets[1]);
    }
    ::close(sockets[1]);
    child_ = child;
    socket_ = sockets[0];
    return true;
}

void IsolatedReader::stop() {
    if (child_ > 0) {
        ::kill(child_, SIGKILL);
        while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (socket_ >= 0)
        ::close(socket_);
    child_ = -1;
    socket_ = -1;
    ahead_ = false;
}

void IsolatedReader::serve(int socket) {
    // What the reader prints as it fails (an assertion's text) is not for the user: the parent
    // reports the failed read in its own words, on one line.
    if (const int quiet = ::open("/dev/null", O_WRONLY); quiet >= 0) {
        ::dup2(quiet, STDERR_FILENO);
        ::close(quiet);
    }
    closeAllBut(socket);
    while (true) {
        Request request;
        if (receiveAll(socket, &request, sizeof request, Clock::time_point::max()) !=
                Received::all ||
            request.nameLength > kLongestName || request.byteCount > capacity_)
            ::_exit(0);
        std::string name(request.nameLength, '\0');
        if (receiveAll(socket, name.data(), name.size(), Clock::time_point::max()) != Received::all)
            ::_exit(0);
        std::uint32_t bytesRead = 0;
        const bool succeeded =
            read_(name, shared_, request.byteCount, bytesRead) && bytesRead <= request.byteCount;
        const Reply reply{succeeded ? 1u : 0u, succeeded ? bytesRead : 0u};
        // _exit: the child must not run the parent's exit handlers or flush its streams.
        if (!sendAll(socket, &reply, sizeof reply))
            ::_exit(0);
    }
}

bool IsolatedReader::sendRequest(const std::string& name, std::uint32_t byteCount) {
    std::string message(sizeof(Request), '\0');
    const Request request{static_cast<std::uint32_t>(name.size()), byteCount};
    std::memcpy(message.data(), &request, sizeof request);
    message += name;
    return sendAll(socket_, message.data(), message.size());
}

void IsolatedReader::readAhead(const std::string& name, std::uint32_t byteCount) {
    if (ahead_ || byteCount > capacity_ || name.size() > kLongestName)
        return;
    if (child_ < 0 && !start())
        return;
    if (sendRequest(name, byteCount)) {
        aheadName_ = name;
        aheadCount_ = byteCount;
        ahead_ = true;
    }
}

bool IsolatedReader::read(const std::string& name, void* buffer, std::uint32_t byteCount,
                          std::uint32_t& bytesRead) {
    bytesRead = 0;
    if (byteCount > capacity_ || name.size() > kLongestName)
        return false;
    // The answer to another request would come first: that child is let go.
    const bool asked = ahead_ && aheadName_ == name && aheadCount_ == byteCount;
    if (ahead_ && !asked)
        stop();
    ahead_ = false;
    // A child that served earlier reads may die of damage one of them did to its memory;
    // the read is then tried once more in a fresh child, so that only a file that fails on
    // its own is reported.
    for (bool fresh = child_ < 0, sent = asked;; fresh = true, sent = false) {
        if (child_ < 0 && !start())
            return false;
        Reply reply;
        const Received received =
            sent || sendRequest(name, byteCount)
                ? receiveAll(socket_, &reply, sizeof reply, Clock::now() + deadline_)
                : Received::closed;
        if (received == Received::all && reply.succeeded != 0 && reply.bytesRead <= byteCount) {
            if (reply.bytesRead > 0)
                std::memcpy(buffer, shared_, reply.bytesRead);
            bytesRead = reply.bytesRead;
            return true;
        }
        // After any failure the child's memory is suspect: the next read gets a fresh one.
        stop();
        if (received != Received::closed || fresh)
            return false;
    }
}

} // namespace pixmorph
