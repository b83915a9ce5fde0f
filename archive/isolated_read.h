#pragma once
// Reads in a child process. The archive reader has memory faults on some damaged archives
// (heap overruns in its sector tables, divisions by zero); in a child they cost only the
// child, and a read that never ends is stopped at a deadline.
//
// One child serves every read of its reader: forking, reopening the archive and tearing the
// child down again for every file cost more than the reads themselves. The child is started
// at the first read and again after one dies or is stopped, so a failed read does not spoil
// the next. It gets each request by name, so files opened in the parent at any time can be
// read, and puts the bytes in memory shared with the parent. It runs the reads and ends with
// _exit; the C library keeps its allocator usable in a child forked from a threaded program
// (the desktop program has Qt's threads).

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

namespace pixmorph {

// Runs in the child: fills buffer with at most byteCount bytes of the named file and sets
// bytesRead; false when the read failed. The child keeps its own copy of the function between
// requests, so what it opens on the first request (the archive) serves the later ones.
using NamedRead = std::function<bool(const std::string& name, void* buffer, std::uint32_t byteCount,
                                     std::uint32_t& bytesRead)>;

class IsolatedReader {
public:
    // capacity: the most bytes one read may ask for (the shared memory reserved for it).
    IsolatedReader(NamedRead read, std::uint32_t capacity, std::chrono::milliseconds deadline);
    ~IsolatedReader();
    IsolatedReader(const IsolatedReader&) = delete;
    IsolatedReader& operator=(const IsolatedReader&) = delete;

    // Reads the named file in the child and copies its bytes into buffer. False when the read
    // failed, byteCount exceeds the capacity, the child died or the deadline passed (the child
    // is then stopped); bytesRead is then 0.
    bool read(const std::string& name, void* buffer, std::uint32_t byteCount,
              std::uint32_t& bytesRead);

    // Has the child start on the named file, the read of which is expected next, so that it
    // reads while the caller works on the last file; read() of that name then waits for it. A
    // read of another name first stops the child (the bytes go unused), and a request while
    // one is under way is ignored.
    void readAhead(const std::string& name, std::uint32_t byteCount);

private:
    bool start();
    void stop();
    bool sendRequest(const std::string& name, std::uint32_t byteCount);
    [[noreturn]] void serve(int socket);

    NamedRead read_;
    std::uint32_t capacity_;
    std::chrono::milliseconds deadline_;
    void* shared_ = nullptr; // capacity_ bytes, shared with every child
    pid_t child_ = -1;
    int socket_ = -1; // the parent's end of the request channel
    // The request sent by readAhead and not yet answered.
    std::string aheadName_;
    std::uint32_t aheadCount_ = 0;
    bool ahead_ = false;
};

} // namespace pixmorph
