#include "core/file_io.h"
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
        StagedFiles files; // the second write fails: the first is dropped with it
        EXPECT_EQ(files.add(target, bytesOf("new")), FileErrorCause::none);
        EXPECT_EQ(files.add(dir.file("x/b.bmp"), bytesOf("new")), FileErrorCause::fileNotFound);
        EXPECT_EQ(files.commit(), FileErrorCause::none);
    }
    EXPECT_EQ(testing::readText(target), "second");
    EXPECT_EQ(dir.names(), (Names{"link.grp", "sprite.grp"}));
    // Reads are bounded before allocating ("second" is 6 bytes).
    EXPECT_EQ(readWholeFile(target, 5).error, FileErrorCause::generic);
    // A device reports no size; the bound still holds while reading.
    EXPECT_EQ(readWholeFile("/dev/zero", 200000).error, FileErrorCause::generic);
}

} // namespace
} // namespace pixmorph
