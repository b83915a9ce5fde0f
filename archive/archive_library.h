#pragma once
// The open archive and the files found in it through the name list.

#include "archive/archive_backend.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pixmorph {

// One file the name list found in the archive.
struct ArchiveFileRecord {
    std::string name; // as the list names it, with backslashes
    ArchiveBackend::Handle file = nullptr;
};

// Why the last opening failed (the user sees one message for all; the command line names the
// file concerned).
enum class ArchiveOpenFailure { none, notBound, archive, nameList };

class ArchiveLibrary {
public:
    // Takes the backend (nullptr: not bound, every opening fails).
    explicit ArchiveLibrary(std::unique_ptr<ArchiveBackend> backend);
    ~ArchiveLibrary(); // unbind
    ArchiveLibrary(const ArchiveLibrary&) = delete;
    ArchiveLibrary& operator=(const ArchiveLibrary&) = delete;

    bool bind() const { return backend_ != nullptr; }
    // Releases the previous opening, opens the archive and looks up every line of the name
    // list at listPath (each distinct line once). True when the archive and the list opened,
    // however many names were found.
    bool openArchiveAndList(const std::string& archivePath, const std::string& listPath);
    // ArchiveBackend::kUnknownSize when the size cannot be had.
    std::uint64_t queryFileSize(const ArchiveFileRecord& record);
    // The bytes read, from the file's start; 0 when the read failed.
    std::uint32_t readFileData(const ArchiveFileRecord& record, void* buffer,
                               std::uint32_t byteCount);
    // The found file read next, whole (see ArchiveBackend::readAhead).
    void readAhead(const ArchiveFileRecord& record);
    // Closes every found file, then the archive.
    void release();
    // Releases, then drops the backend: every later opening fails.
    void unbind();

    bool isOpen() const { return isOpen_; }
    ArchiveOpenFailure lastFailure() const { return lastFailure_; }
    // The found files, in list order.
    const std::vector<ArchiveFileRecord>& found() const { return found_; }
    // The found file of exactly that name (bytes compared), or nullptr.
    const ArchiveFileRecord* findByName(const std::string& name) const;

private:
    bool fail(ArchiveOpenFailure failure);

    std::unique_ptr<ArchiveBackend> backend_;
    ArchiveBackend::Handle archive_ = nullptr;
    std::vector<ArchiveFileRecord> found_;
    bool isOpen_ = false;
    ArchiveOpenFailure lastFailure_ = ArchiveOpenFailure::none;
};

} // namespace pixmorph
