#pragma once
// Files read in a known order on a thread of their own, ahead of the caller, so that the
// system's work of opening and reading the next files overlaps the caller's work on the last.

#include "core/bounded_queue.h"
#include "core/file_io.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace pixmorph {

class FilesReadAhead {
public:
    // Reading stops while this many bytes wait to be taken, and resumes when half are.
    static constexpr std::size_t kMostBytesAhead = 8u << 20;
    // Up to this many files are read by next() itself, with no thread; without threads (the web
    // build), every file.
#ifdef PIXMORPH_NO_THREADS
    static constexpr std::size_t kReadWhenAskedAtMost = SIZE_MAX;
#else
    static constexpr std::size_t kReadWhenAskedAtMost = 2;
#endif

    explicit FilesReadAhead(std::vector<std::string> paths);
    // Stops reading after the file under way; what was read and not taken is dropped.
    ~FilesReadAhead() = default;
    FilesReadAhead(const FilesReadAhead&) = delete;
    FilesReadAhead& operator=(const FilesReadAhead&) = delete;

    // The read of the next file, in the order given, as readWholeFile gives it. Called once
    // per path at most.
    FileReadResult next();

private:
    std::vector<std::string> paths_;
    std::size_t asked_ = 0; // files read by next() itself
#ifndef PIXMORPH_NO_THREADS
    BoundedQueue<FileReadResult> read_{kMostBytesAhead};
    std::jthread reader_; // last: stopped and joined before the queue goes
#endif
};

} // namespace pixmorph
