#include "core/read_ahead.h"

namespace pixmorph {

FilesReadAhead::FilesReadAhead(std::vector<std::string> paths)
    : paths_(std::move(paths)), reader_([this](std::stop_token stop) {
          // A stop (the caller is done) releases a reader waiting for room.
          const std::stop_callback release(stop, [this] { read_.cancel(); });
          for (const std::string& path : paths_) {
              FileReadResult result;
              try {
                  result = readWholeFile(path);
              } catch (...) {
                  result = {{}, FileErrorCause::generic};
              }
              const std::size_t bytes = result.data.size();
              if (stop.stop_requested() || !read_.push(std::move(result), bytes))
                  return;
          }
          read_.close();
      }) {}

FileReadResult FilesReadAhead::next() {
    std::optional<FileReadResult> result = read_.pop();
    return result ? std::move(*result) : FileReadResult{{}, FileErrorCause::generic};
}

} // namespace pixmorph
