// Real archives through StormLib: made here in the forms the game's archives use, listed
// through a name list, extracted and compared byte for byte; damaged ones must fail cleanly.

#include "archive/archive_library.h"
#include "archive/extraction.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;

class StormArchive : public ::testing::Test {
protected:
    bool open(std::string_view list) {
        writeFile(folder_.file("sc_data.txt"), list);
        return library_.openArchiveAndList(archive_, folder_.file("sc_data.txt"));
    }

    ExtractionResult extract(const std::string& name, NameFormat format) {
        return extractArchiveFile(library_, name, output_, format);
    }

    ScratchDir folder_;
    std::string archive_ = folder_.file("StarDat.mpq");
    std::string output_ = folder_.file("out");
    ArchiveLibrary library_{makeStormBackend()};

    void SetUp() override { fs::create_directory(output_); }
};

TEST_F(StormArchive, EveryStorageOfTheGameReadsBackByteIdentical) {
    const std::vector<ArchivedFile> files = {
        {"unit\\pkware\\big.grp", sampleBytes(50000, 1), kPkware}, // several sectors
        {"unit\\implode\\a.grp", sampleBytes(9000, 2), kImplode},
        {"unit\\encrypted\\a.grp", sampleBytes(12000, 3), kEncryptedFixKey},
        {"unit\\stored\\a.grp", sampleBytes(700, 4), kStored},
        {"unit\\empty.grp", {}, kPkware},
        {"sound\\a.wav", sampleBytes(300, 5), kPkware},
    };
    ASSERT_TRUE(writeArchive(archive_, files));
    std::string list = "unit\\not-there.grp\r\n";
    for (const auto& file : files)
        list += file.name + "\r\n";
    ASSERT_TRUE(open(list));
    EXPECT_EQ(foundNames(library_).size(), files.size());
    for (const auto& file : files) {
        const auto result = extract(file.name, NameFormat::subdirectories);
        EXPECT_EQ(readFile(result.path), file.data) << file.name << ": " << result.error;
    }
    // Twice the same file reads it whole again.
    EXPECT_EQ(readFile(extract("unit\\pkware\\big.grp", NameFormat::flat).path), files[0].data);
}

TEST_F(StormArchive, DamagedArchivesFailToOpen) {
    ASSERT_TRUE(writeArchive(archive_, {{"unit\\a.grp", sampleBytes(20000, 1), kPkware}}));
    const std::string whole = readText(archive_);
    const auto header = [&](std::size_t offset, std::string_view bytes) {
        std::string damaged = whole;
        damaged.replace(offset, bytes.size(), bytes);
        return damaged;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"cut inside the header", whole.substr(0, 20)},
        {"cut before its tables", whole.substr(0, whole.size() / 2)},
        {"not an archive", std::string(4096, 'x')},
        {"hash table larger than the file", header(24, std::string("\0\0\0\x2d", 4))},
        {"block table larger than the file", header(28, std::string("\0\0\x95\x60", 4))},
        {"sector size past reason", header(14, std::string("\x17\0", 2))},
    };
    for (const auto& [what, bytes] : cases) {
        writeFile(archive_, bytes);
        EXPECT_FALSE(open("unit\\a.grp\n")) << what;
        EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::archive) << what;
    }
}

TEST_F(StormArchive, DamagedFileDataIsAReadFailureNotACrash) {
    // 40000 bytes are 10 sectors: a table of 11 offsets (44 bytes), then the sectors, each
    // starting with the byte that names its compression.
    const ByteVector good = sampleBytes(40000, 3);
    ASSERT_TRUE(writeArchive(archive_, {{"unit\\method.grp", sampleBytes(40000, 1), kPkware},
                                        {"unit\\table.grp", sampleBytes(40000, 2), kPkware},
                                        {"unit\\good.grp", good, kPkware}}));
    // A method the reader asserts it never meets: it aborts the process that reads.
    overwriteBytes(archive_, storedOffset(archive_, "unit\\method.grp") + 44, std::string("\x12"));
    // A sector that reaches far past the archive's end.
    overwriteBytes(archive_, storedOffset(archive_, "unit\\table.grp") + 8,
                   std::string("\x00\x00\x00\x7f", 4));
    ASSERT_TRUE(open("unit\\method.grp\nunit\\table.grp\nunit\\good.grp\n"));
    for (const char* name : {"unit\\method.grp", "unit\\table.grp"}) {
        const auto result = extract(name, NameFormat::subdirectories);
        EXPECT_EQ(result.error,
                  std::string(name) + " could not be read from the archive;\nnothing was saved.");
    }
    EXPECT_TRUE(fs::is_empty(output_));
    // The reads that failed leave the archive readable.
    EXPECT_EQ(readFile(extract("unit\\good.grp", NameFormat::flat).path), good);
}

TEST_F(StormArchive, SmallArchiveFromAnotherTool) {
    const fs::path sample = "/work/shared/real-samples/test.mpq";
    if (!fs::exists(sample))
        GTEST_SKIP() << "no real samples here";
    archive_ = sample.string();
    ASSERT_TRUE(open("test.txt\nunit\\none.grp\n"));
    ASSERT_EQ(foundNames(library_), std::vector<std::string>{"test.txt"});
    const auto result = extract("test.txt", NameFormat::flat);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(fs::file_size(result.path), library_.queryFileSize(library_.found().front()));
}

} // namespace
} // namespace pixmorph
