#include "core/read_ahead.h"

namespace pixmorph {

FilesReadAhead::FilesReadAhead(std::vector<std::string> paths)
    : paths_(std::move(paths)), thread_([this] { run(); }) {}

FilesReadAhead::~FilesReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    readerWakes_.notify_one();
    thread_.join();
}

// Each side wakes the other only when it waits, and a reader held back resumes only when half
// of what it read ahead is taken, so most files pass without a system call.
void FilesReadAhead::run() {
    for (const std::string& path : paths_) {
        FileReadResult result;
        try {
            result = readWholeFile(path);
        } catch (...) {
            result = {{}, FileErrorCause::generic};
        }
        std::unique_lock lock(mutex_);
        bytesAhead_ += result.data.size();
        read_.push_back(std::move(result));
        if (callerWaits_)
            callerWakes_.notify_one();
        readerWaits_ = true;
        readerWakes_.wait(lock, [this] { return stopping_ || bytesAhead_ < kMostBytesAhead; });
        readerWaits_ = false;
        if (stopping_)
            return;
    }
}

FileReadResult FilesReadAhead::next() {
    std::unique_lock lock(mutex_);
    callerWaits_ = true;
    callerWakes_.wait(lock, [this] { return !read_.empty(); });
    callerWaits_ = false;
    FileReadResult result = std::move(read_.front());
    read_.pop_front();
    bytesAhead_ -= result.data.size();
    if (readerWaits_ && bytesAhead_ <= kMostBytesAhead / 2)
        readerWakes_.notify_one();
    return result;
}

} // namespace pixmorph
