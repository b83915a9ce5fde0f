#include "archive/archive_library.h"
#include "archive/extraction.h"
#include "archive/name_list.h"
#include "archive/offered_names.h"
#include "support/fake_archive_backend.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using testing::FakeArchiveState;
using testing::ScratchDir;

class ArchiveLibraryWithFake : public ::testing::Test {
protected:
    ArchiveLibraryWithFake() {
        state_->files = {{"unit\\a.grp", ByteVector{1, 2, 3}},
                         {"unit\\b.grp", ByteVector{4, 5}},
                         {"sound\\c.wav", ByteVector{6}}};
    }

    bool open(std::string_view list) {
        testing::writeFile(folder_.file("sc_data.txt"), list);
        return library_.openArchiveAndList("game.mpq", folder_.file("sc_data.txt"));
    }

    ScratchDir folder_;
    std::shared_ptr<FakeArchiveState> state_ = std::make_shared<FakeArchiveState>();
    ArchiveLibrary library_{testing::makeFakeBackend(state_)};
};

TEST_F(ArchiveLibraryWithFake, OpensWheneverTheArchiveAndTheListOpen) {
    // The list's last name is not in the archive: the opening still succeeds.
    ASSERT_TRUE(open("unit\\a.grp\n\nsound\\c.wav\nunit\\a.grp\nunit\\missing.grp\n"));
    EXPECT_TRUE(library_.isOpen());
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::none);
    // Found in list order, a repeated line once.
    EXPECT_EQ(testing::foundNames(library_),
              (std::vector<std::string>{"unit\\a.grp", "sound\\c.wav"}));
    EXPECT_EQ(state_->filesOpen, 2);

    // Nothing found at all is still an open archive with an empty list.
    ASSERT_TRUE(open("unit\\missing.grp\n"));
    EXPECT_TRUE(library_.found().empty());
}

TEST_F(ArchiveLibraryWithFake, ASingleFoundSpriteIsOffered) {
    ASSERT_TRUE(open("unit\\b.grp\n"));
    EXPECT_EQ(offeredNames(library_.found()), std::vector<std::string>{"unit\\b.grp"});
}

TEST_F(ArchiveLibraryWithFake, EachOpeningReleasesTheLastAndReleaseClosesEverything) {
    ASSERT_TRUE(open("unit\\a.grp\nunit\\b.grp\n"));
    ASSERT_TRUE(open("unit\\b.grp\n"));
    EXPECT_EQ(state_->archivesOpen, 1);
    EXPECT_EQ(state_->filesOpen, 1);
    library_.release();
    EXPECT_EQ(state_->archivesOpen, 0);
    EXPECT_EQ(state_->filesOpen, 0);
    EXPECT_FALSE(library_.isOpen());
    library_.release(); // a second release closes nothing twice
    EXPECT_EQ(state_->archivesOpen, 0);
    EXPECT_EQ(state_->filesOpen, 0);
}

TEST_F(ArchiveLibraryWithFake, FailuresSayWhichFileAndLeaveNothingOpen) {
    ASSERT_TRUE(open("unit\\a.grp\n"));
    // A missing name list closes the archive it had opened.
    EXPECT_FALSE(library_.openArchiveAndList("game.mpq", folder_.file("absent.txt")));
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::nameList);
    EXPECT_EQ(state_->archivesOpen, 0);
    EXPECT_EQ(state_->filesOpen, 0);
    EXPECT_TRUE(library_.found().empty());

    // So does a list of more lines than a list may hold.
    EXPECT_FALSE(open(std::string(kMaxNameLines + 1, '\n')));
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::nameList);
    EXPECT_EQ(state_->archivesOpen, 0);

    state_->archiveOpens = false;
    EXPECT_FALSE(open("unit\\a.grp\n"));
    EXPECT_EQ(library_.lastFailure(), ArchiveOpenFailure::archive);
}

TEST_F(ArchiveLibraryWithFake, UnboundLibraryNeverOpens) {
    ArchiveLibrary unbound(nullptr);
    EXPECT_FALSE(unbound.bind());
    testing::writeFile(folder_.file("list.txt"), std::string("unit\\a.grp\n"));
    EXPECT_FALSE(unbound.openArchiveAndList("game.mpq", folder_.file("list.txt")));
    EXPECT_EQ(unbound.lastFailure(), ArchiveOpenFailure::notBound);

    ASSERT_TRUE(open("unit\\a.grp\n"));
    library_.unbind();
    EXPECT_EQ(state_->archivesOpen, 0);
    EXPECT_FALSE(open("unit\\a.grp\n"));
}

TEST_F(ArchiveLibraryWithFake, ExtractionReportsFailedReadsAndWritesNothing) {
    ASSERT_TRUE(open("unit\\a.grp\nunit\\b.grp\n"));
    const std::string output = folder_.file("out");
    std::filesystem::create_directory(output);
    testing::writeFile(output + "/a.grp", std::string("earlier"));

    state_->bytesShort = 1;
    auto result = extractArchiveFile(library_, "unit\\a.grp", output, NameFormat::subdirectories);
    EXPECT_EQ(result.error, "unit\\a.grp could not be read from the archive;\nnothing was saved.");
    EXPECT_EQ(result.icon, MessageIcon::stop);
    EXPECT_EQ(testing::readText(output + "/a.grp"), "earlier");
    EXPECT_FALSE(std::filesystem::exists(output + "/unit"));

    state_->bytesShort = 0;
    state_->claimedSize = kLargestExtractedFile + 1;
    const int readsBefore = state_->reads;
    result = extractArchiveFile(library_, "unit\\b.grp", output, NameFormat::flat);
    EXPECT_EQ(result.error, "unit\\b.grp is larger than 64 MiB and was not saved.");
    EXPECT_EQ(state_->reads, readsBefore);

    state_->claimedSize = ArchiveBackend::kUnknownSize;
    EXPECT_FALSE(extractArchiveFile(library_, "unit\\b.grp", output, NameFormat::flat).ok());

    state_->claimedSize.reset();
    result = extractArchiveFile(library_, "unit\\A.grp", output, NameFormat::flat);
    EXPECT_EQ(result.error,
              "unit\\A.grp is not among the files the name list found in the archive.");
    EXPECT_EQ(testing::listingBelow(folder_.path()),
              (std::vector<std::string>{"out", "out/a.grp", "sc_data.txt"}));
}

TEST_F(ArchiveLibraryWithFake, WriteFailureNamesTheFile) {
    ASSERT_TRUE(open("unit\\a.grp\n"));
    const std::string missing = folder_.file("no-such-folder");
    const auto result = extractArchiveFile(library_, "unit\\a.grp", missing, NameFormat::flat);
    EXPECT_EQ(result.icon, MessageIcon::stop);
    EXPECT_NE(result.error.find(missing + "/unit_a.grp"), std::string::npos) << result.error;
}

} // namespace
} // namespace pixmorph
