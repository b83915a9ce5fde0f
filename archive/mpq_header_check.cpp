#include "archive/mpq_header_check.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace pixmorph {

namespace {

constexpr std::uint32_t kMpqSignature = 0x1A51504D; // "MPQ\x1A"
constexpr std::uint32_t kTableEntrySize = 16;
// Sectors of 512 << 15 bytes (16 MiB) already exceed any file the program extracts.
constexpr std::uint16_t kLargestSectorShift = 15;

bool tableFits(std::uint32_t position, std::uint32_t entries, std::uint64_t fileSize) {
    return position <= fileSize && entries <= (fileSize - position) / kTableEntrySize;
}

} // namespace

bool mpqHeaderIsSane(Bytes header, std::uint64_t fileSize) {
    const auto signature = readU32(header, 0);
    const auto headerSize = readU32(header, 4);
    const auto sectorShift = readU16(header, 14);
    const auto hashTablePosition = readU32(header, 16);
    const auto blockTablePosition = readU32(header, 20);
    const auto hashTableEntries = readU32(header, 24);
    const auto blockTableEntries = readU32(header, 28);
    if (!blockTableEntries)
        return false; // shorter than a header
    return *signature == kMpqSignature && *headerSize >= kMpqHeaderSize &&
           *headerSize <= fileSize && *sectorShift <= kLargestSectorShift &&
           tableFits(*hashTablePosition, *hashTableEntries, fileSize) &&
           tableFits(*blockTablePosition, *blockTableEntries, fileSize);
}

bool mpqFileHeaderIsSane(const std::string& path) {
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(path, error);
    if (error)
        return false;
    std::ifstream file(path, std::ios::binary);
    std::array<std::uint8_t, kMpqHeaderSize> header{};
    if (!file.read(reinterpret_cast<char*>(header.data()), header.size()))
        return false;
    return mpqHeaderIsSane(header, fileSize);
}

} // namespace pixmorph
