#include "archive/archive_library.h"

#include "archive/name_list.h"
#include "core/file_io.h"

#include <limits>
#include <unordered_set>

namespace pixmorph {

ArchiveLibrary::ArchiveLibrary(std::unique_ptr<ArchiveBackend> backend)
    : backend_(std::move(backend)) {}

ArchiveLibrary::~ArchiveLibrary() {
    unbind();
}

bool ArchiveLibrary::fail(ArchiveOpenFailure failure) {
    lastFailure_ = failure;
    return false;
}

bool ArchiveLibrary::openArchiveAndList(const std::string& archivePath,
                                        const std::string& listPath) {
    release();
    if (!backend_)
        return fail(ArchiveOpenFailure::notBound);
    if (!backend_->openArchive(archivePath, archive_)) {
        archive_ = nullptr;
        return fail(ArchiveOpenFailure::archive);
    }
    const FileReadResult list = readWholeFile(listPath);
    std::vector<std::string> names =
        list.ok() ? parseNameList(list.data) : std::vector<std::string>{};
    if (!list.ok() || names.size() > kMaxNameLines) {
        backend_->closeArchive(archive_);
        archive_ = nullptr;
        return fail(ArchiveOpenFailure::nameList);
    }
    // A name listed twice is one file: looking it up again would offer it twice.
    std::unordered_set<std::string> tried;
    for (auto& name : names) {
        if (!tried.insert(name).second)
            continue;
        ArchiveBackend::Handle file = nullptr;
        if (backend_->openFile(archive_, name, file))
            found_.push_back({std::move(name), file});
    }
    isOpen_ = true;
    lastFailure_ = ArchiveOpenFailure::none;
    return true;
}

std::uint64_t ArchiveLibrary::queryFileSize(const ArchiveFileRecord& record) {
    if (!isOpen_ || !record.file)
        return ArchiveBackend::kUnknownSize;
    return backend_->fileSize(record.file);
}

std::uint32_t ArchiveLibrary::readFileData(const ArchiveFileRecord& record, void* buffer,
                                           std::uint32_t byteCount) {
    if (!isOpen_ || !record.file)
        return 0;
    std::uint32_t bytesRead = 0;
    if (!backend_->readFile(record.file, buffer, byteCount, bytesRead))
        return 0;
    return bytesRead;
}

void ArchiveLibrary::readAhead(const ArchiveFileRecord& record) {
    if (!isOpen_ || !record.file)
        return;
    const std::uint64_t size = backend_->fileSize(record.file);
    if (size <= std::numeric_limits<std::uint32_t>::max())
        backend_->readAhead(record.file, static_cast<std::uint32_t>(size));
}

void ArchiveLibrary::release() {
    if (!isOpen_)
        return;
    for (const auto& record : found_)
        backend_->closeFile(record.file);
    found_.clear();
    backend_->closeArchive(archive_);
    archive_ = nullptr;
    isOpen_ = false;
}

void ArchiveLibrary::unbind() {
    release();
    backend_.reset();
}

const ArchiveFileRecord* ArchiveLibrary::findByName(const std::string& name) const {
    for (const auto& record : found_) {
        if (record.name == name)
            return &record;
    }
    return nullptr;
}

} // namespace pixmorph
