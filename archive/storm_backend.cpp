// The archive reader over StormLib. Archives are opened read-only, only when their header is
// sane, and without the archive's own name list and attributes (the program brings its own
// list). Every file read runs in the archive's reader child, which opens the archive on its
// own, so a damaged archive costs at most that child.

#include "archive/archive_backend.h"
#include "archive/extraction.h"
#include "archive/isolated_read.h"
#include "archive/mpq_header_check.h"

#include <StormLib.h>

namespace pixmorph {

namespace {

// The game's archives are version 1; reading them as such keeps the reader off the newer
// tables (and user-data headers), which the header check does not cover. The reader searches
// for the header where the check has searched.
constexpr DWORD kOpenFlags =
    MPQ_OPEN_READ_ONLY | MPQ_OPEN_NO_LISTFILE | MPQ_OPEN_NO_ATTRIBUTES | MPQ_OPEN_FORCE_MPQ_V1;

// Decompressing the largest file the program extracts takes well under a second.
constexpr std::chrono::seconds kReadDeadline{60};

bool openStormArchive(const std::string& path, HANDLE& mpq) {
    return mpqFileHeaderIsSane(path) && SFileOpenArchive(path.c_str(), 0, kOpenFlags, &mpq);
}

// Runs in the reader child. It opens the archive at its first request and keeps it for the
// next ones: its own archive handle, so no file position is shared with the parent's handles.
NamedRead childReadsOf(const std::string& archivePath) {
    return [archivePath, mpq = HANDLE{nullptr}](const std::string& name, void* buffer,
                                                std::uint32_t byteCount,
                                                std::uint32_t& bytesRead) mutable {
        if (!mpq && !openStormArchive(archivePath, mpq)) {
            mpq = nullptr;
            return false;
        }
        HANDLE file = nullptr;
        if (!SFileOpenFileEx(mpq, name.c_str(), SFILE_OPEN_FROM_MPQ, &file))
            return false;
        DWORD got = 0;
        const bool succeeded = SFileReadFile(file, buffer, byteCount, &got, nullptr);
        bytesRead = got;
        SFileCloseFile(file);
        return succeeded;
    };
}

struct OpenArchive {
    HANDLE mpq = nullptr;
    IsolatedReader reader;
};

struct OpenFile {
    HANDLE file = nullptr;
    OpenArchive* archive = nullptr;
    std::string name;
};

class StormBackend final : public ArchiveBackend {
public:
    bool openArchive(const std::string& path, Handle& archive) override {
        HANDLE mpq = nullptr;
        if (!openStormArchive(path, mpq))
            return false;
        archive = new OpenArchive{
            mpq, IsolatedReader(childReadsOf(path), kLargestExtractedFile, kReadDeadline)};
        return true;
    }

    bool openFile(Handle archive, const std::string& name, Handle& file) override {
        auto* open = static_cast<OpenArchive*>(archive);
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
        return open->archive->reader.read(open->name, buffer, byteCount, bytesRead);
    }

    void readAhead(Handle file, std::uint32_t byteCount) override {
        const auto* open = static_cast<const OpenFile*>(file);
        open->archive->reader.readAhead(open->name, byteCount);
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
