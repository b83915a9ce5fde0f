// Name lists, offered and refused names, archives through a fake reader and through StormLib.
#include "archive/archive_library.h"
#include "archive/extraction.h"
#include "archive/name_list.h"
#include "archive/offered_names.h"
#include "support/fake_archive_backend.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using Names = std::vector<std::string>;

Names parse(std::string_view text) {
    return parseNameList(Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(NameList, SplitsLinesAsTheArchiveListIsWritten) {
    // CRs are dropped, a NUL spoils its line, a last line without LF is not taken.
    EXPECT_EQ(parse(std::string("a\r\nb\r.grp\r\n\n c\t\nd\0e\nf", 21)),
              (Names{"a", "b.grp", "", " c\t"}));
    // Lines over the limit are skipped whole; CR bytes do not count towards it.
    const std::string longest(kNameLineLimit, 'x'), tooLong(kNameLineLimit + 1, 'y');
    EXPECT_EQ(parse(longest + "\r\n" + tooLong + "\nz\n"), (Names{longest, "z"}));
    EXPECT_EQ(parse(std::string(3 * kMaxNameLines, '\n')).size(), kMaxNameLines + 1); // bounded
}

TEST(OfferedNames, NamesEndingInGrpInAnyCaseSortedWithoutRegardToCase) {
    std::vector<ArchiveFileRecord> found;
    for (const char* name : {"unit\\zerg\\zergling.grp", "sound\\zergling.wav", "Unit\\Marine.grp",
                             "UNIT\\ZERG\\ZERGLING.GRP", "unit_zerg.GRP", "unit\\x.grp ", "rp"})
        found.push_back({name, nullptr});
    EXPECT_EQ( // '\' and '_' come before letters; names equal but for case keep byte order
        offeredNames(found), (Names{"Unit\\Marine.grp", "UNIT\\ZERG\\ZERGLING.GRP",
                                    "unit\\zerg\\zergling.grp", "unit_zerg.GRP"}));
}

TEST(ExtractionNaming, RefusesEveryNameThatCouldLeaveTheOutputDirectory) {
    for (const char* name : {"", "unit\\..\\..\\x.grp", "unit\\.\\x.grp", "\\root.grp",
                             "\\\\server\\x.grp", "unit\\\\x.grp", "unit\\", "C:\\x.grp",
                             "x.grp:stream", "unit/../x.grp", "unit\\x\x7f.grp"})
        EXPECT_TRUE(refuseArchiveName(name).has_value()) << name;
    for (const char* name : {"unit\\zerg\\zergling.grp", "..grp", "unit\\x..y\\a b.grp"})
        EXPECT_EQ(refuseArchiveName(name), std::nullopt) << name;
    EXPECT_EQ(*refuseArchiveName("a\nb.grp"), // shown on one line whatever it holds
              "a?b.grp cannot be saved:\nits name holds control characters.");
}

struct Opened {
    explicit Opened(std::unique_ptr<ArchiveBackend> backend) : library(std::move(backend)) {}
    bool open(std::string_view list, const std::string& archive = "game.mpq") {
        writeFile(dir.file("list.txt"), list);
        return library.openArchiveAndList(archive, dir.file("list.txt"));
    }
    ExtractionResult extract(const std::string& name) {
        return extractArchiveFile(library, name, dir.path(), NameFormat::subdirectories);
    }
    ScratchDir dir;
    ArchiveLibrary library;
};

TEST(ArchiveLibrary, OpensWhenArchiveAndListOpenAndWritesNothingForAFailedRead) {
    const auto fake = std::make_shared<FakeArchiveState>();
    fake->files = {{"a.grp", {1, 2, 3}}, {"b.grp", {4, 5}}};
    Opened t(makeFakeBackend(fake));
    // A missing name is left out; a repeated line is looked up once.
    ASSERT_TRUE(t.open("a.grp\n\nb.grp\na.grp\nmissing.grp\n"));
    ASSERT_EQ(t.library.found().size(), 2u);
    EXPECT_EQ(t.library.found()[0].name + t.library.found()[1].name, "a.grpb.grp");
    EXPECT_EQ(fake->filesOpen, 2);
    // A list of too many lines closes the archive it had opened.
    EXPECT_FALSE(t.open(std::string(kMaxNameLines + 1, '\n')));
    EXPECT_EQ(t.library.lastFailure(), ArchiveOpenFailure::nameList);
    EXPECT_EQ(fake->archivesOpen + fake->filesOpen, 0);
    ASSERT_TRUE(t.open("a.grp\nb.grp\n"));
    writeFile(t.dir.file("a.grp"), std::string("earlier"));
    fake->bytesShort = 1;
    EXPECT_EQ(t.extract("a.grp").error,
              "a.grp could not be read from the archive;\nnothing was saved.");
    fake->claimedSize = kLargestExtractedFile + 1;
    EXPECT_EQ(t.extract("b.grp").error, "b.grp is larger than 64 MiB and was not saved.");
    EXPECT_EQ(fake->reads, 1) << "nothing read for the oversized file";
    EXPECT_EQ(readText(t.dir.file("a.grp")), "earlier");
    t.library.release();
    EXPECT_EQ(fake->archivesOpen + fake->filesOpen, 0);
}

// Damaged data: the malformed-input suite.
TEST(StormArchive, EveryStorageReadsBack) {
    Opened t(makeStormBackend());
    const std::vector<ArchivedFile> files = {
        {"unit\\pkware\\big.grp", sampleBytes(50000, 1), kPkware}, // several sectors
        {"unit\\implode\\a.grp", sampleBytes(9000, 2), kImplode},
        {"unit\\encrypted\\a.grp", sampleBytes(12000, 3), kEncryptedFixKey},
        {"unit\\stored\\a.grp", sampleBytes(700, 4), kStored},
        {"unit\\empty.grp", {}, kPkware},
    };
    const std::string archive = t.dir.file("StarDat.mpq");
    ASSERT_TRUE(writeArchive(archive, files));
    std::string list;
    for (const auto& file : files)
        list += file.name + "\r\n";
    ASSERT_TRUE(t.open(list, archive));
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ExtractionResult result = t.extract(files[i].name);
        EXPECT_EQ(readFile(result.path), files[i].data) << files[i].name << result.error;
    }

    // Behind an installer's program, at a 512-byte boundary: found where the reader finds it.
    const ByteVector mpq = readFile(archive);
    ByteVector installer(3 * 512, 'Z');
    installer.insert(installer.end(), mpq.begin(), mpq.end());
    writeFile(t.dir.file("setup.exe.mpq"), installer);
    ASSERT_TRUE(t.open(list, t.dir.file("setup.exe.mpq")));
    EXPECT_EQ(readFile(t.extract(files[0].name).path), files[0].data);
    // The first header found decides: one whose tables leave the file hides a sound one.
    ByteVector decoy(installer.begin(), installer.begin() + 512);
    decoy.insert(decoy.end(), mpq.begin(), mpq.begin() + 32); // offsets relative to the decoy
    putU32(decoy, 512 + 16, static_cast<std::uint32_t>(installer.size()));
    decoy.resize(1024, 0);
    decoy.insert(decoy.end(), installer.begin() + 1024, installer.end());
    writeFile(t.dir.file("decoy.mpq"), decoy);
    EXPECT_FALSE(t.open(list, t.dir.file("decoy.mpq")));
    EXPECT_EQ(t.library.lastFailure(), ArchiveOpenFailure::archive);
}

} // namespace
} // namespace pixmorph
