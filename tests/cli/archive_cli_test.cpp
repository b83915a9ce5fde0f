#include "cli/cli.h"
#include "support/mpq_test_files.h"
#include "support/run_cli.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;

class ArchiveCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writeArchive(archive_, {{"unit\\zerg\\zergling.grp", zergling_, kPkware},
                                            {"unit\\terran\\Marine.GRP", marine_, kImplode},
                                            {"unit\\zerg\\zerglinggrp", marine_, kStored},
                                            {"sound\\zerg\\hit.wav", marine_, kPkware}}));
        writeFile(list_, std::string("unit\\zerg\\zergling.grp\r\nsound\\zerg\\hit.wav\r\n"
                                     "unit\\terran\\Marine.GRP\r\nunit\\zerg\\zerglinggrp\r\n"
                                     "unit\\zerg\\missing.grp\r\nunit\\zerg\\unended.grp"));
        std::filesystem::create_directory(output_);
    }

    ScratchDir dir_;
    std::string archive_ = dir_.file("StarDat.mpq");
    std::string list_ = dir_.file("sc_data.txt");
    std::string output_ = dir_.file("out");
    ByteVector zergling_ = sampleBytes(20000, 1);
    ByteVector marine_ = sampleBytes(3000, 2);
};

TEST_F(ArchiveCli, ListPrintsTheOfferedNamesInListOrder) {
    const CliResult run = runCli({"list", "--names", list_, archive_});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "unit\\terran\\Marine.GRP\nunit\\zerg\\zergling.grp\nunit\\zerg\\zerglinggrp\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ArchiveCli, ExtractWritesBothFormatsAndPrintsThePaths) {
    CliResult run = runCli({"extract", "--names", list_, "--output-dir", output_, archive_,
                            "unit\\zerg\\zergling.grp", "sound\\zerg\\hit.wav"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, output_ + "/unit/zerg/zergling.grp\n" + output_ + "/sound/zerg/hit.wav\n");
    EXPECT_EQ(readFile(output_ + "/unit/zerg/zergling.grp"), zergling_);

    run = runCli({"extract", "--flat", "--names", list_, "--output-dir", output_, archive_,
                  "unit\\terran\\Marine.GRP"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, output_ + "/unit_terran_Marine.GRP\n");
    EXPECT_EQ(readFile(output_ + "/unit_terran_Marine.GRP"), marine_);

    // Without --output-dir the current directory receives the file.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(output_);
    run = runCli({"extract", archive_, "--flat", "--names", list_, "unit\\zerg\\zerglinggrp"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "unit_zerg_zerglinggrp\n");
    EXPECT_EQ(readFile(output_ + "/unit_zerg_zerglinggrp"), marine_);
}

// Each refusal is one line (the malformed-input suite has them all); the other names still run.
TEST_F(ArchiveCli, ARefusedNameLeavesTheOthersToRun) {
    const CliResult run = runCli({"extract", "--names", list_, "--output-dir", output_, archive_,
                                  "unit\\zerg\\unended.grp", "unit\\zerg\\zergling.grp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "unit\\zerg\\unended.grp: unit\\zerg\\unended.grp is not among the files "
                       "the name list found in the archive.\n");
    EXPECT_EQ(run.out, output_ + "/unit/zerg/zergling.grp\n");
    EXPECT_EQ(snapshotOf(output_),
              (FolderSnapshot{{"unit", "/"},
                              {"unit/zerg", "/"},
                              {"unit/zerg/zergling.grp", {zergling_.begin(), zergling_.end()}}}));
}

} // namespace
} // namespace pixmorph
