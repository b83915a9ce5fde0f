#include "core/read_ahead.h"

namespace pixmorph {

namespace {

FileReadResult readOne(const std::string& path) {
    try {
        return readWholeFile(path);
    } catch (...) {
        return {{}, FileErrorCause::generic};
    }
}

} // namespace

FilesReadAhead::FilesReadAhead(std::vector<std::string> paths) : paths_(std::move(paths)) {
    // A thread started for a file or two would cost more than it overlaps: they are read when
    // asked for.
#ifndef PIXMORPH_NO_THREADS
    if (paths_.size() <= kReadWhenAskedAtMost)
        return;
    reader_ = std::jthread([this](std::stop_token stop) {
        // A stop (the caller is done) releases a reader waiting for room.
        const std::stop_callback release(stop, [this] { read_.cancel(); });
        for (const std::string& path : paths_) {
            FileReadResult result = readOne(path);
            const std::size_t bytes = result.data.size();
            if (stop.stop_requested() || !read_.push(std::move(result), bytes))
                return;
        }
        read_.close();
    });
#endif
}

FileReadResult FilesReadAhead::next() {
    if (paths_.size() <= kReadWhenAskedAtMost)
        return asked_ < paths_.size() ? readOne(paths_[asked_++])
                                      : FileReadResult{{}, FileErrorCause::generic};
#ifdef PIXMORPH_NO_THREADS
    return {{}, FileErrorCause::generic};
#else
    std::optional<FileReadResult> result = read_.pop();
    return result ? std::move(*result) : FileReadResult{{}, FileErrorCause::generic};
#endif
}

} // namespace pixmorph
