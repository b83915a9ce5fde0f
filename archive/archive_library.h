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
    std::string name; // as the archive knows it, with backslashes
    ArchiveBackend::Handle file = nullptr;
};

class ArchiveLibrary {
public:
    // Takes the backend (nullptr: not bound, every opening fails).
    explicit ArchiveLibrary(std::unique_ptr<ArchiveBackend> backend);
    ~ArchiveLibrary(); // unbind

    bool bind() const { return backend_ != nullptr; }
    // Releases the previous opening, opens the archive and looks up every line of the name
    // list at listPath. True when the archive and the list opened.
    bool openArchiveAndList(const std::string& archivePath, const std::string& listPath);
    std::uint64_t queryFileSize(const ArchiveFileRecord& record);
    std::uint32_t readFileData(const ArchiveFileRecord& record, void* buffer,
                               std::uint32_t byteCount);
    void release();
    void unbind();

    bool isOpen() const { return isOpen_; }
    const std::vector<ArchiveFileRecord>& found() const { return found_; }
    const ArchiveFileRecord* findByName(const std::string& name) const;

private:
    std::unique_ptr<ArchiveBackend> backend_;
    ArchiveBackend::Handle archive_ = nullptr;
    std::vector<ArchiveFileRecord> found_;
    bool isOpen_ = false;
};

} // namespace pixmorph
