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

class ArchiveLibraryWithFake : public ::testing::Test {
protected:
    ArchiveLibraryWithFake() {
        fake_->files = {{"unit\\a.grp", {1, 2, 3}}, {"unit\\b.grp", {4, 5}}, {"sound\\c.wav", {6}}};
    }
    bool open(std::string_view list) {
        writeFile(dir_.file("sc_data.txt"), list);
        return library_.openArchiveAndList("game.mpq", dir_.file("sc_data.txt"));
    }

    ScratchDir dir_;
    std::shared_ptr<FakeArchiveState> fake_ = std::make_shared<FakeArchiveState>();
    ArchiveLibrary library_{makeFakeBackend(fake_)};
};

TEST_F(ArchiveLibraryWithFake, OpensWheneverTheArchiveAndTheListOpenAndReleasesAll) {
    // The last name is missing from the archive; a repeated line is looked up once.
    ASSERT_TRUE(open("unit\\a.grp\n\nsound\\c.wav\nunit\\a.grp\nunit\\missing.grp\n"));
    EXPECT_EQ(foundNames(library_), (Names{"unit\\a.grp", "sound\\c.wav"}));
    EXPECT_EQ(fake_->filesOpen, 2);

    // The next opening releases the last; a single found sprite is offered.
    ASSERT_TRUE(open("unit\\b.grp\n"));
    EXPECT_EQ(fake_->archivesOpen, 1);
    EXPECT_EQ(fake_->filesOpen, 1);
    EXPECT_EQ(offeredNames(library_.found()), Names{"unit\\b.grp"});

    // A missing list closes the archive it had opened.
    EXPECT_FALSE(library_.openArchiveAndList("game.mpq", dir_.file("absent.txt")));
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::nameList);
    EXPECT_EQ(fake_->archivesOpen + fake_->filesOpen, 0);
    // So does a list of more lines than a list may hold.
    EXPECT_FALSE(open(std::string(kMaxNameLines + 1, '\n')));
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::nameList);
    EXPECT_EQ(fake_->archivesOpen, 0);
    ASSERT_TRUE(open("unit\\a.grp\n"));
    library_.release();
    library_.release(); // a second release closes nothing twice
    EXPECT_EQ(fake_->archivesOpen + fake_->filesOpen, 0);

    fake_->archiveOpens = false;
    EXPECT_FALSE(open("unit\\a.grp\n"));
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::archive);

    ArchiveLibrary unbound(nullptr);
    EXPECT_FALSE(unbound.openArchiveAndList("game.mpq", dir_.file("sc_data.txt")));
    EXPECT_EQ(unbound.lastFailure(), ArchiveOpenFailure::notBound);
}

TEST_F(ArchiveLibraryWithFake, ReadsThatFailOrClaimTooMuchWriteNothing) {
    ASSERT_TRUE(open("unit\\a.grp\nunit\\b.grp\n"));
    const std::string output = dir_.file("out");
    std::filesystem::create_directory(output);
    writeFile(output + "/a.grp", std::string("earlier"));
    const auto extract = [&](const char* name, NameFormat format) {
        return extractArchiveFile(library_, name, output, format).error;
    };

    fake_->bytesShort = 1;
    const ExtractionResult failed =
        extractArchiveFile(library_, "unit\\a.grp", output, NameFormat::subdirectories);
    EXPECT_EQ(failed.error, "unit\\a.grp could not be read from the archive;\nnothing was saved.");
    EXPECT_EQ(failed.icon, MessageIcon::stop);
    fake_->bytesShort = 0;
    fake_->claimedSize = kLargestExtractedFile + 1;
    EXPECT_EQ(extract("unit\\b.grp", NameFormat::flat),
              "unit\\b.grp is larger than 64 MiB and was not saved.");
    EXPECT_EQ(fake_->reads, 1) << "nothing read for the oversized file";
    fake_->claimedSize = ArchiveBackend::kUnknownSize;
    EXPECT_NE(extract("unit\\b.grp", NameFormat::flat), "");
    fake_->claimedSize.reset();
    EXPECT_EQ(extract("unit\\A.grp", NameFormat::flat),
              "unit\\A.grp is not among the files the name list found in the archive.");
    EXPECT_EQ(snapshotOf(dir_.path()),
              (FolderSnapshot{{"out", "/"},
                              {"out/a.grp", "earlier"},
                              {"sc_data.txt", "unit\\a.grp\nunit\\b.grp\n"}}));
    EXPECT_EQ(extractArchiveFile(library_, "unit\\a.grp", output + "/x", NameFormat::flat).error,
              output + "/x/unit_a.grp was not found.");
}

} // namespace
} // namespace pixmorph
