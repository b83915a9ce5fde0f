#include "core/file_io.h"
#include "core/output_folder.h"
#include "core/read_ahead.h"
#include "core_test_files.h"
#include "support/job_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

// Each case runs as the kernel and file system here allow, then without openat2, then also
// without unnamed files (named temporary files, swept when their writer is gone).
class FileWrites : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { pretendOldSystemForTests(GetParam() >= 1, GetParam() >= 2); }
    void TearDown() override { pretendOldSystemForTests(false, false); }
};
INSTANTIATE_TEST_SUITE_P(Systems, FileWrites, ::testing::Values(0, 1, 2));

// Cut writes, full disks and read-only folders are in the malformed-input suite.
TEST_P(FileWrites, StayBeneathTheFolderFollowNoLinkAndLeaveNothingHalfDone) {
    testing::ScratchDir root;
    const std::string out = root.file("out"), elsewhere = root.file("elsewhere");
    fs::create_directories(out + "/taken.bmp");
    fs::create_directory(elsewhere);
    testing::writeFile(elsewhere + "/victim", std::string("victim"));
    fs::create_symlink("../elsewhere/victim", out + "/link.grp");
    fs::create_symlink("../elsewhere", out + "/unit");
    // Stale temporary files: one of a writer that is gone, one of a writer still running.
    const std::string stale = ".s.bmp." + std::to_string(testing::endedProcess()) + ".0123abcd.tmp";
    const std::string running = ".s.bmp." + std::to_string(::getppid()) + ".0123abcd.tmp";
    testing::writeFile(out + "/" + stale, std::string("x"));
    testing::writeFile(out + "/" + running, std::string("x"));

    // A replaced file keeps its permissions; a link is replaced, not written through.
    EXPECT_EQ(writeFileAtomically(out + "/sprite.grp", test::bytesOf("first")),
              FileErrorCause::none);
    ::chmod((out + "/sprite.grp").c_str(), 0640);
    EXPECT_EQ(writeFileAtomically(out + "/sprite.grp", test::bytesOf("second")),
              FileErrorCause::none);
    EXPECT_EQ(fs::status(out + "/sprite.grp").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(writeFileAtomically(out + "/link.grp", test::bytesOf("new")), FileErrorCause::none);
    EXPECT_FALSE(fs::is_symlink(out + "/link.grp"));
    EXPECT_EQ(testing::readText(out + "/link.grp"), "new");

    // Folder levels are made beneath the folder; a linked one is refused by name.
    EXPECT_TRUE(writeFileBeneath(out, "made/deep/z.grp", test::bytesOf("z")).ok());
    const WriteResult linked = writeFileBeneath(out, "unit/zerg/z.grp", test::bytesOf("z"));
    EXPECT_EQ(linked.cause, FileErrorCause::linkInPath);
    EXPECT_EQ(linked.path, out + "/unit");
    // A folder in the way, a name too long, a missing output folder; the longest name works,
    // though a temporary name beside it would be longer.
    EXPECT_EQ(writeFileBeneath(out, "taken.bmp", test::bytesOf("t")).cause,
              FileErrorCause::accessDenied);
    EXPECT_EQ(writeFileBeneath(out, std::string(256, 'n'), test::bytesOf("n")).cause,
              FileErrorCause::badPath);
    EXPECT_EQ(writeFileAtomically(root.file("missing/x.grp"), test::bytesOf("x")),
              FileErrorCause::fileNotFound);
    EXPECT_TRUE(writeFileBeneath(out, std::string(255, 'n'), test::bytesOf("n")).ok());

    EXPECT_EQ(testing::snapshotOf(elsewhere), (testing::FolderSnapshot{{"victim", "victim"}}));
    EXPECT_EQ(testing::snapshotOf(out), (testing::FolderSnapshot{{"link.grp", "new"},
                                                                 {"sprite.grp", "second"},
                                                                 {"taken.bmp", "/"},
                                                                 {"unit", "-> ../elsewhere"},
                                                                 {"made", "/"},
                                                                 {"made/deep", "/"},
                                                                 {"made/deep/z.grp", "z"},
                                                                 {std::string(255, 'n'), "n"},
                                                                 {running, "x"}}));
}

TEST_P(FileWrites, StagedSetsAreWrittenWholeOrNotAtAll) {
    testing::ScratchDir dir;
    testing::writeFile(dir.file("a.bmp"), std::string("earlier"));
    fs::create_directory(dir.file("c.bmp"));
    {
        // A folder where the third file goes: nothing is replaced. Writes run behind the
        // caller, so the failure may surface at a later add.
        StagedFiles files(dir.path());
        EXPECT_EQ(files.add("a.bmp", test::bytesOf("new")), FileErrorCause::none);
        (void)files.add("b.bmp", test::bytesOf("new"));
        (void)files.add("c.bmp", test::bytesOf("new"));
        (void)files.add("d.bmp", test::bytesOf("late"));
        EXPECT_EQ(files.commit(), FileErrorCause::accessDenied);
        EXPECT_EQ(files.failedPath(), dir.file("c.bmp"));
    }
    EXPECT_EQ(dir.names(), (Names{"a.bmp", "c.bmp"}));
    EXPECT_EQ(testing::readText(dir.file("a.bmp")), "earlier");
    {
        // Files past the bound on waiting bytes, and a set dropped without commit.
        StagedFiles kept(dir.path());
        StagedFiles dropped(dir.path());
        const ByteVector large(StagedFiles::kMostPendingBytes / 3, 7);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(kept.add(std::to_string(i), large), FileErrorCause::none);
            EXPECT_EQ(dropped.add("d" + std::to_string(i), large), FileErrorCause::none);
        }
        EXPECT_EQ(kept.commit(), FileErrorCause::none);
    }
    EXPECT_EQ(dir.names().size(), 10u);
    EXPECT_EQ(fs::file_size(dir.file("7")), StagedFiles::kMostPendingBytes / 3);
}

// Every set of the process shares one writer thread, and a set smaller than a batch is
// written by its commit: either way each set is written whole or not at all, its commit
// waits for its own files, and its failure stays its own.
TEST_P(FileWrites, SetsSharingTheWriterSucceedAndFailAlone) {
    testing::ScratchDir good, bad;
    fs::create_directory(bad.file("f5.bmp"));
    constexpr int kSets = 20, kFiles = 10;
    // Odd sets are large enough to pass through the writer in several batches, the last one
    // heavy enough to be under way when the commit comes.
    const auto content = [](int set, int file) {
        const std::size_t size = set % 2 == 0        ? 8
                                 : file < kFiles - 1 ? StagedFiles::kBatchBytes / 4
                                                     : StagedFiles::kMostPendingBytes / 2;
        std::string text = std::to_string(set) + ":" + std::to_string(file);
        return text.append(size - text.size(), 'x');
    };
    const auto stage = [&](StagedFiles& files, int set) {
        for (int i = 0; i < kFiles; ++i)
            (void)files.add("f" + std::to_string(i) + ".bmp", test::bytesOf(content(set, i)));
    };
    std::jthread failing([&] {
        for (int set = 0; set < kSets; ++set) {
            StagedFiles files(bad.path()), dropped(bad.path());
            stage(files, set);
            stage(dropped, set);
            EXPECT_EQ(files.commit(), FileErrorCause::accessDenied) << set;
            EXPECT_EQ(files.failedPath(), bad.file("f5.bmp"));
        }
    });
    for (int set = 0; set < kSets; ++set) {
        StagedFiles files(good.path());
        stage(files, set);
        ASSERT_EQ(files.commit(), FileErrorCause::none) << set;
        for (int i = 0; i < kFiles; ++i)
            ASSERT_EQ(testing::readText(good.file("f" + std::to_string(i) + ".bmp")),
                      content(set, i));
    }
    failing.join();
    EXPECT_EQ(good.names().size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(bad.names(), (Names{"f5.bmp"}));
}

TEST(FileReads, RefuseWhatIsNotAFileWithoutWaitingAndStayBounded) {
    testing::ScratchDir dir;
    const ByteVector large(FilesReadAhead::kMostBytesAhead / 3, 7); // three fill the bound
    const std::string file = dir.write("a", large), fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readWholeFile(file, large.size() - 1).error, FileErrorCause::tooLarge);
    for (const std::string& unread : {fifo, std::string("/dev/zero"), dir.path()})
        EXPECT_EQ(readWholeFile(unread).error, FileErrorCause::notRegularFile) << unread;

    // In order, each file whole, one heavier than the bound on bytes ahead passing alone.
    const ByteVector heavier(FilesReadAhead::kMostBytesAhead + 1, 8);
    const std::vector<std::string> paths = {
        file, dir.file("missing"), fifo, dir.write("h", heavier), file, file};
    {
        FilesReadAhead reads(paths);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const FileReadResult read = reads.next();
            const FileErrorCause expected = i == 1   ? FileErrorCause::fileNotFound
                                            : i == 2 ? FileErrorCause::notRegularFile
                                                     : FileErrorCause::none;
            EXPECT_EQ(read.error, expected) << i;
            EXPECT_EQ(read.data.size(), i == 1 || i == 2 ? 0
                                        : i == 3         ? heavier.size()
                                                         : large.size())
                << i;
        }
    }
    FilesReadAhead leftUnread(std::vector<std::string>(40, file)); // ends without waiting

    // As few files as are read when asked for, with no thread: the same results, in order.
    FilesReadAhead few({dir.file("missing"), file});
    EXPECT_EQ(few.next().error, FileErrorCause::fileNotFound);
    EXPECT_EQ(few.next().data.size(), large.size());
    EXPECT_EQ(few.next().error, FileErrorCause::generic); // past the end
}

} // namespace
} // namespace pixmorph
