#pragma once
// Archives for the archive, command and command-line tests, made during the tests with
// StormLib's writer in the forms the game's archives use.

#include "core/bytes.h"
#include "support/job_files.h"

#include <StormLib.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph::testing {

// How a file is stored.
struct Storage {
    DWORD flags, compression;
};
inline constexpr Storage kPkware{MPQ_FILE_COMPRESS, MPQ_COMPRESSION_PKWARE};
inline constexpr Storage kImplode{MPQ_FILE_IMPLODE, 0};
inline constexpr Storage kEncryptedFixKey{MPQ_FILE_COMPRESS | MPQ_FILE_ENCRYPTED | MPQ_FILE_FIX_KEY,
                                          MPQ_COMPRESSION_PKWARE};
inline constexpr Storage kStored{0, 0};

struct ArchivedFile {
    std::string name;
    ByteVector data;
    Storage storage = kPkware;
};

// Bytes that compress a little but not to nothing, different for each seed.
inline ByteVector sampleBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    ByteVector bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 7 == 0 ? random() : (i / 13) % 5);
    return bytes;
}

// A version 1 archive holding the files.
inline bool writeArchive(const std::string& path, const std::vector<ArchivedFile>& files) {
    std::filesystem::remove(path);
    HANDLE mpq = nullptr;
    if (!SFileCreateArchive(path.c_str(), MPQ_CREATE_ARCHIVE_V1, 64, &mpq))
        return false;
    bool written = true;
    for (const auto& file : files) {
        HANDLE handle = nullptr;
        written = written &&
                  SFileCreateFile(mpq, file.name.c_str(), 0, static_cast<DWORD>(file.data.size()),
                                  0, file.storage.flags, &handle) &&
                  SFileWriteFile(handle, file.data.data(), static_cast<DWORD>(file.data.size()),
                                 file.storage.compression) &&
                  SFileFinishFile(handle);
    }
    return SFileCloseArchive(mpq) && written;
}

// Where the archive keeps a file's data (for damaging it on purpose).
inline std::uint64_t storedOffset(const std::string& archive, const std::string& name) {
    HANDLE mpq = nullptr;
    HANDLE file = nullptr;
    ULONGLONG offset = 0;
    if (SFileOpenArchive(archive.c_str(), 0, MPQ_OPEN_READ_ONLY, &mpq)) {
        if (SFileOpenFileEx(mpq, name.c_str(), 0, &file)) {
            SFileGetFileInfo(file, SFileInfoByteOffset, &offset, sizeof offset, nullptr);
            SFileCloseFile(file);
        }
        SFileCloseArchive(mpq);
    }
    return offset;
}

inline void overwriteBytes(const std::string& path, std::uint64_t offset, std::string_view bytes) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(bytes.data(), static_cast<long>(bytes.size()));
}

} // namespace pixmorph::testing
