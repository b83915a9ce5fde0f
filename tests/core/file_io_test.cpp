#include "core/file_io.h"
#include "core/read_ahead.h"
#include "support/job_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

Bytes bytesOf(std::string_view text) {
    return Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

ByteVector vectorOf(std::string_view text) {
    return ByteVector(text.begin(), text.end());
}

// Cut writes, full disks and read-only folders are in the malformed-input suite.
TEST(FileIo, WritesReplaceWholeFilesAndReadsAreBounded) {
    testing::ScratchDir dir;
    const std::string target = dir.file("sprite.grp");
    EXPECT_EQ(writeFileAtomically(target, bytesOf("first")), FileErrorCause::none);
    ::chmod(target.c_str(), 0640);
    fs::create_symlink(target, dir.file("link.grp"));
    EXPECT_EQ(writeFileAtomically(dir.file("link.grp"), bytesOf("second")), FileErrorCause::none);
    EXPECT_EQ(testing::readText(target), "second"); // through the link, which stays
    EXPECT_TRUE(fs::is_symlink(dir.file("link.grp")));
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(writeFileAtomically(dir.file("missing/out.grp"), bytesOf("x")),
              FileErrorCause::fileNotFound);
    {
        // The second write fails: the first is dropped with it, and nothing after it is
        // written. Writes run behind the caller, so the failure may surface at a later add.
        StagedFiles files;
        EXPECT_EQ(files.add(target, vectorOf("new")), FileErrorCause::none);
        (void)files.add(dir.file("x/b.bmp"), vectorOf("new"));
        (void)files.add(dir.file("c.bmp"), vectorOf("late"));
        EXPECT_EQ(files.commit(), FileErrorCause::fileNotFound);
        EXPECT_EQ(files.failedPath(), dir.file("x/b.bmp"));
    }
    EXPECT_EQ(testing::readText(target), "second");
    EXPECT_EQ(dir.names(), (Names{"link.grp", "sprite.grp"}));
    {
        // Files past the bound on waiting bytes, and a set dropped without commit.
        StagedFiles kept;
        StagedFiles dropped;
        const ByteVector large(StagedFiles::kMostPendingBytes / 3, 7);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(kept.add(dir.file(std::to_string(i)), large), FileErrorCause::none);
            EXPECT_EQ(dropped.add(dir.file("d" + std::to_string(i)), large), FileErrorCause::none);
        }
        EXPECT_EQ(kept.commit(), FileErrorCause::none);
    }
    EXPECT_EQ(dir.names().size(), 10u);
    EXPECT_EQ(fs::file_size(dir.file("7")), StagedFiles::kMostPendingBytes / 3);
    // Reads are bounded before allocating ("second" is 6 bytes).
    EXPECT_EQ(readWholeFile(target, 5).error, FileErrorCause::tooLarge);
    // A device reports no size; the bound still holds while reading.
    EXPECT_EQ(readWholeFile("/dev/zero", 200000).error, FileErrorCause::tooLarge);
}

TEST(FileIo, ReadsAheadInOrderWithEachFilesOwnError) {
    testing::ScratchDir dir;
    const ByteVector large(FilesReadAhead::kMostBytesAhead / 3, 7); // three fill the bound
    EXPECT_EQ(writeFileAtomically(dir.file("a"), large), FileErrorCause::none);
    std::vector<std::string> paths(5, dir.file("a"));
    paths[1] = dir.file("missing");
    {
        FilesReadAhead reads(paths);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const FileReadResult read = reads.next();
            EXPECT_EQ(read.error, i == 1 ? FileErrorCause::fileNotFound : FileErrorCause::none);
            EXPECT_EQ(read.data.size(), i == 1 ? 0 : large.size()) << i;
        }
    }
    FilesReadAhead leftUnread(std::vector<std::string>(40, paths[0])); // ends without waiting
}

} // namespace
} // namespace pixmorph
