#pragma once
// Files read in a known order on a thread of their own, ahead of the caller, so that the
// system's work of opening and reading the next files overlaps the caller's work on the last.

#include "core/file_io.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pixmorph {

class FilesReadAhead {
public:
    // Reading stops while this many bytes wait to be taken, and resumes when half are.
    static constexpr std::size_t kMostBytesAhead = 8u << 20;

    explicit FilesReadAhead(std::vector<std::string> paths);
    ~FilesReadAhead();
    FilesReadAhead(const FilesReadAhead&) = delete;
    FilesReadAhead& operator=(const FilesReadAhead&) = delete;

    // The read of the next file, in the order given, as readWholeFile gives it. Called once
    // per path at most.
    FileReadResult next();

private:
    void run();

    std::vector<std::string> paths_;
    std::mutex mutex_;
    std::condition_variable readerWakes_;
    std::condition_variable callerWakes_;
    std::deque<FileReadResult> read_;
    std::size_t bytesAhead_ = 0;
    bool readerWaits_ = false;
    bool callerWaits_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace pixmorph
