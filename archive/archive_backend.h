#pragma once
// The operations the program needs of an archive reader. StormLib implements them
// (read-only); tests use fakes.

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace pixmorph {

class ArchiveBackend {
public:
    using Handle = void*;
    // What fileSize answers when the size cannot be had.
    static constexpr std::uint64_t kUnknownSize = std::numeric_limits<std::uint64_t>::max();

    virtual ~ArchiveBackend() = default;

    virtual bool openArchive(const std::string& path, Handle& archive) = 0;
    virtual bool openFile(Handle archive, const std::string& name, Handle& file) = 0;
    virtual std::uint64_t fileSize(Handle file) = 0;
    // Reads up to byteCount bytes from the file's start; false when the read failed.
    virtual bool readFile(Handle file, void* buffer, std::uint32_t byteCount,
                          std::uint32_t& bytesRead) = 0;
    // The file read next: a reader that reads elsewhere may start on it while the caller works
    // on the last one. Nothing by default.
    virtual void readAhead(Handle /*file*/, std::uint32_t /*byteCount*/) {}
    virtual void closeFile(Handle file) = 0;
    virtual void closeArchive(Handle archive) = 0;
};

// The StormLib reader; nullptr when the library cannot be used.
std::unique_ptr<ArchiveBackend> makeStormBackend();

} // namespace pixmorph
