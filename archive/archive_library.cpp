#include "archive/archive_library.h"

namespace pixmorph {

ArchiveLibrary::ArchiveLibrary(std::unique_ptr<ArchiveBackend> backend)
    : backend_(std::move(backend)) {}

ArchiveLibrary::~ArchiveLibrary() = default;

} // namespace pixmorph
