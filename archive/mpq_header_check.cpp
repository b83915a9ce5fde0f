#include "archive/mpq_header_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

namespace pixmorph {

namespace {

constexpr std::uint32_t kMpqSignature = 0x1A51504D;      // "MPQ\x1A"
constexpr std::uint32_t kUserDataSignature = 0x1B51504D; // "MPQ\x1B", pointing further on
constexpr std::uint32_t kTableEntrySize = 16;
// Sectors of 512 << 15 bytes (16 MiB) already exceed any file the program extracts.
constexpr std::uint16_t kLargestSectorShift = 15;
// The search reads this much at a time: a whole number of boundaries.
constexpr std::size_t kSearchChunk = 64 * 1024;

// The reader adds a table's position to the header's in 32 bits: a sum past that would wrap
// to another place in the file, so the tables must also end within the first 4 GiB.
bool tableFits(std::uint64_t headerOffset, std::uint32_t position, std::uint32_t entries,
               std::uint64_t fileSize) {
    const std::uint64_t end =
        std::min<std::uint64_t>(fileSize, std::numeric_limits<std::uint32_t>::max());
    const std::uint64_t start = headerOffset + position;
    return start <= end && entries <= (end - start) / kTableEntrySize;
}

} // namespace

std::optional<std::size_t> findMpqHeader(Bytes bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += kMpqHeaderAlignment) {
        const auto signature = readU32(bytes, at);
        if (signature == kMpqSignature || signature == kUserDataSignature)
            return at;
    }
    return std::nullopt;
}

bool mpqHeaderIsSane(Bytes header, std::uint64_t headerOffset, std::uint64_t fileSize) {
    const auto signature = readU32(header, 0);
    const auto headerSize = readU32(header, 4);
    const auto sectorShift = readU16(header, 14);
    const auto hashTablePosition = readU32(header, 16);
    const auto blockTablePosition = readU32(header, 20);
    const auto hashTableEntries = readU32(header, 24);
    const auto blockTableEntries = readU32(header, 28);
    if (!blockTableEntries || headerOffset > fileSize)
        return false; // shorter than a header
    return *signature == kMpqSignature && *headerSize >= kMpqHeaderSize &&
           *headerSize <= fileSize - headerOffset && *sectorShift <= kLargestSectorShift &&
           tableFits(headerOffset, *hashTablePosition, *hashTableEntries, fileSize) &&
           tableFits(headerOffset, *blockTablePosition, *blockTableEntries, fileSize);
}

bool mpqFileHeaderIsSane(const std::string& path) {
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(path, error);
    if (error)
        return false;
    std::ifstream file(path, std::ios::binary);
    ByteVector chunk(kSearchChunk);
    const std::uint64_t searchEnd = std::min(fileSize, kMpqHeaderSearchLimit);
    for (std::uint64_t chunkStart = 0; chunkStart < searchEnd; chunkStart += kSearchChunk) {
        // Each chunk also holds the header of its last boundary: 32 bytes more are read.
        const auto wanted = static_cast<std::size_t>(
            std::min<std::uint64_t>(kSearchChunk + kMpqHeaderSize, fileSize - chunkStart));
        chunk.resize(wanted);
        file.seekg(static_cast<std::streamoff>(chunkStart));
        if (!file.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(wanted)))
            return false;
        const Bytes bytes(chunk);
        const std::size_t boundaries =
            static_cast<std::size_t>(std::min<std::uint64_t>(kSearchChunk, searchEnd - chunkStart));
        if (const auto at = findMpqHeader(bytes.first(std::min(bytes.size(), boundaries))))
            return mpqHeaderIsSane(bytes.subspan(*at), chunkStart + *at, fileSize);
    }
    return false;
}

} // namespace pixmorph
