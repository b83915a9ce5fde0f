#pragma once
// The six operations the program needs of an archive reader. StormLib implements them
// (read-only); tests use fakes.

#include <cstdint>
#include <memory>
#include <string>

namespace pixmorph {

class ArchiveBackend {
public:
    using Handle = void*;
    virtual ~ArchiveBackend() = default;

    virtual bool openArchive(const std::string& path, Handle& archive) = 0;
    virtual bool openFile(Handle archive, const std::string& name, Handle& file) = 0;
    // The file's size; nullopt-like failure is reported as UINT64_MAX.
    virtual std::uint64_t fileSize(Handle file) = 0;
    virtual bool readFile(Handle file, void* buffer, std::uint32_t byteCount,
                          std::uint32_t& bytesRead) = 0;
    virtual void closeFile(Handle file) = 0;
    virtual void closeArchive(Handle archive) = 0;
};

// The StormLib reader; nullptr when the library cannot be used.
std::unique_ptr<ArchiveBackend> makeStormBackend();

} // namespace pixmorph
