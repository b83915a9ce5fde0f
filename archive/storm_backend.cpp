// The archive reader over StormLib. Archives are opened read-only, only when their header is
// sane, and without the archive's own name list and attributes (the program brings its own
// list). Every file read runs in a child process that opens the archive afresh, so a damaged
// archive costs at most that child.

#include "archive/archive_backend.h"
#include "archive/isolated_read.h"
#include "archive/mpq_header_check.h"

#include <StormLib.h>

namespace pixmorph {

namespace {

// The game's archives are version 1 with their header at the start; reading them as such
// keeps the reader off the newer tables, which the header check does not cover.
constexpr DWORD kOpenFlags = MPQ_OPEN_READ_ONLY | MPQ_OPEN_NO_LISTFILE | MPQ_OPEN_NO_ATTRIBUTES |
                             MPQ_OPEN_NO_HEADER_SEARCH | MPQ_OPEN_FORCE_MPQ_V1;

// Decompressing the largest file the program extracts takes well under a second.
constexpr std::chrono::seconds kReadDeadline{60};

struct OpenArchive {
    HANDLE mpq = nullptr;
    std::string path;
};

struct OpenFile {
    HANDLE file = nullptr;
    const OpenArchive* archive = nullptr;
    std::string name;
};

bool openStormArchive(const std::string& path, HANDLE& mpq) {
    return mpqFileHeaderIsSane(path) && SFileOpenArchive(path.c_str(), 0, kOpenFlags, &mpq);
}

// Runs in the child process: its own archive handle, so no file position is shared with the
// parent's handles.
bool readArchivedFile(const std::string& archivePath, const std::string& name, void* buffer,
                      std::uint32_t byteCount, std::uint32_t& bytesRead) {
    HANDLE mpq = nullptr;
    if (!openStormArchive(archivePath, mpq))
        return false;
    HANDLE file = nullptr;
    bool succeeded = false;
    if (SFileOpenFileEx(mpq, name.c_str(), SFILE_OPEN_FROM_MPQ, &file)) {
        DWORD got = 0;
        succeeded = SFileReadFile(file, buffer, byteCount, &got, nullptr);
        bytesRead = got;
        SFileCloseFile(file);
    }
    SFileCloseArchive(mpq);
    return succeeded;
}

class StormBackend final : public ArchiveBackend {
public:
    bool openArchive(const std::string& path, Handle& archive) override {
        HANDLE mpq = nullptr;
        if (!openStormArchive(path, mpq))
            return false;
        archive = new OpenArchive{mpq, path};
        return true;
    }

    bool openFile(Handle archive, const std::string& name, Handle& file) override {
        const auto* open = static_cast<const OpenArchive*>(archive);
        HANDLE stormFile = nullptr;
        if (!SFileOpenFileEx(open->mpq, name.c_str(), SFILE_OPEN_FROM_MPQ, &stormFile))
            return false;
        file = new OpenFile{stormFile, open, name};
        return true;
    }

    std::uint64_t fileSize(Handle file) override {
        DWORD high = 0;
        const DWORD low = SFileGetFileSize(static_cast<OpenFile*>(file)->file, &high);
        if (low == SFILE_INVALID_SIZE)
            return kUnknownSize;
        return (static_cast<std::uint64_t>(high) << 32) | low;
    }

    bool readFile(Handle file, void* buffer, std::uint32_t byteCount,
                  std::uint32_t& bytesRead) override {
        const auto* open = static_cast<const OpenFile*>(file);
        const std::string archivePath = open->archive->path;
        const std::string name = open->name;
        return readInChildProcess(
            [&](void* into, std::uint32_t count, std::uint32_t& got) {
                return readArchivedFile(archivePath, name, into, count, got);
            },
            buffer, byteCount, bytesRead, kReadDeadline);
    }

    void closeFile(Handle file) override {
        auto* open = static_cast<OpenFile*>(file);
        SFileCloseFile(open->file);
        delete open;
    }

    void closeArchive(Handle archive) override {
        auto* open = static_cast<OpenArchive*>(archive);
        SFileCloseArchive(open->mpq);
        delete open;
    }
};

} // namespace

std::unique_ptr<ArchiveBackend> makeStormBackend() {
    return std::make_unique<StormBackend>();
}

} // namespace pixmorph
