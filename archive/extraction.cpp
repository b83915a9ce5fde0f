#include "archive/extraction.h"

#include "archive/archive_library.h"
#include "core/file_io.h"
#include "core/paths.h"

#include <algorithm>
#include <memory>

namespace pixmorph {

namespace {

constexpr char kArchiveSeparator = '\\';

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// The message with the name in place of %1; control characters show as '?' so that the
// message keeps its lines.
std::string withName(std::string_view text, std::string_view name) {
    std::string shown(name);
    std::replace_if(shown.begin(), shown.end(), isControl, '?');
    return fillIn(text, shown);
}

std::vector<std::string_view> levelsOf(std::string_view name) {
    std::vector<std::string_view> levels;
    std::size_t start = 0;
    while (true) {
        const auto end = name.find(kArchiveSeparator, start);
        levels.push_back(name.substr(start, end - start));
        if (end == std::string_view::npos)
            return levels;
        start = end + 1;
    }
}

ExtractionResult failure(std::string_view text, std::string_view name,
                         MessageIcon icon = MessageIcon::exclamation) {
    return {{}, withName(text, name), icon};
}

} // namespace

std::optional<std::string> refuseArchiveName(std::string_view name) {
    if (name.empty())
        return std::string(msg::kArchiveNameEmpty);
    if (std::any_of(name.begin(), name.end(), isControl))
        return withName(msg::kArchiveNameControl, name);
    if (name.find('/') != std::string_view::npos)
        return withName(msg::kArchiveNameSlash, name);
    if (name.find(':') != std::string_view::npos)
        return withName(msg::kArchiveNameDrive, name);
    if (name.front() == kArchiveSeparator)
        return withName(msg::kArchiveNameLeadingSeparator, name);
    for (const auto level : levelsOf(name)) {
        if (level.empty())
            return withName(msg::kArchiveNameEmptyLevel, name);
        if (level == "." || level == "..")
            return withName(msg::kArchiveNameDotLevel, name);
    }
    return std::nullopt;
}

ExtractionTarget extractionTarget(const std::string& outputDir, std::string_view name,
                                  NameFormat format) {
    ExtractionTarget target{std::string(name), {}};
    std::replace(target.name.begin(), target.name.end(), kArchiveSeparator,
                 format == NameFormat::flat ? '_' : '/');
    target.path = joinPath(outputDir, target.name);
    return target;
}

ExtractionResult extractArchiveFile(ArchiveLibrary& library, const std::string& name,
                                    const std::string& outputDir, NameFormat format,
                                    const std::string& nextName) {
    if (auto refusal = refuseArchiveName(name))
        return {{}, std::move(*refusal), MessageIcon::exclamation};
    const ArchiveFileRecord* record = library.findByName(name);
    if (!record)
        return failure(msg::kArchiveFileNotFound, name);
    const std::uint64_t size = library.queryFileSize(*record);
    if (size == ArchiveBackend::kUnknownSize)
        return failure(msg::kArchiveReadFailed, name, MessageIcon::stop);
    if (size > kLargestExtractedFile)
        return failure(msg::kArchiveFileTooLarge, name);

    // The read fills every byte: they are not set to zero before (a sprite set's worth of
    // zeros costs about what copying it does).
    const auto contents = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    const auto byteCount = static_cast<std::uint32_t>(size);
    if (library.readFileData(*record, contents.get(), byteCount) != byteCount)
        return failure(msg::kArchiveReadFailed, name, MessageIcon::stop);
    if (!nextName.empty() && !refuseArchiveName(nextName))
        if (const ArchiveFileRecord* next = library.findByName(nextName))
            library.readAhead(*next);

    const ExtractionTarget target = extractionTarget(outputDir, name, format);
    const WriteResult written =
        writeFileBeneath(outputDir, target.name, Bytes(contents.get(), byteCount));
    if (!written.ok())
        return {{}, fileErrorMessage(written.cause, written.path), MessageIcon::stop};
    return {target.path, {}, MessageIcon::exclamation};
}

} // namespace pixmorph
