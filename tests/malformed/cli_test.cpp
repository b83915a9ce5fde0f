#include "cli_run.h"
#include "core/core_test_files.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using test::runCli;
using Names = std::set<std::string>;

// A failed input does not stop the ones after it; the malformed-input suite has the refusals.
TEST(Cli, ExportCompileBackAndAFailureLeavesTheOtherInputsRunning) {
    ScratchDir s;
    const ByteVector a = makeSprite(1, 30, 20, {std::nullopt, std::nullopt, 0}); // 2 repeats 0
    writeFile(s.file("a.grp"), a);
    EXPECT_EQ(runCli({"export", "--unique", s.file("a.grp")}).exitCode, 0);
    EXPECT_EQ(s.names(), (Names{"a.grp", "a000.bmp", "a001.bmp", "a.qbl"}));

    writeFile(s.file("c.qbl"), std::string("c.grp gone.bmp"));
    const test::CliRun compiled = runCli({"compile", s.file("c.qbl"), s.file("a.qbl")});
    EXPECT_EQ(compiled.exitCode, 1);
    EXPECT_EQ(compiled.err, s.file("gone.bmp") + ": " + s.file("gone.bmp") + " was not found.\n");
    EXPECT_EQ(readFile(s.file("x_a.grp")), a);
    EXPECT_FALSE(s.names().contains("x_c.grp"));
    std::filesystem::create_directory(s.file("small"));
    EXPECT_EQ(
        runCli({"compile", "--compact", "--output-dir", s.file("small"), s.file("a.qbl")}).exitCode,
        0);
    const ByteVector compact = readFile(s.file("small/x_a.grp"));
    EXPECT_EQ(test::drawnFrames(compact), test::drawnFrames(a));
    EXPECT_LT(compact.size(), a.size());

    const test::CliRun info = runCli({"info", s.file("a.grp")});
    EXPECT_NE(info.out.find("\nframes: 3\nsize: 30 x 20\ndistinct data offsets: 2\n"),
              std::string::npos);
}

// Extraction into folders is run by the write-fault loop; here the list and the flat names.
TEST(Cli, ArchiveListAndFlatExtract) {
    ScratchDir s;
    const ByteVector grp = sampleBytes(20000, 1);
    ASSERT_TRUE(writeArchive(s.file("StarDat.mpq"), {{"unit\\zerg\\zergling.grp", grp},
                                                     {"sound\\hit.wav", grp, kImplode}}));
    const std::string names =
        s.write("names.txt", std::string("sound\\hit.wav\r\nunit\\zerg\\zergling.grp\r\n"));
    EXPECT_EQ(runCli({"list", "--names", names, s.file("StarDat.mpq")}).out,
              "unit\\zerg\\zergling.grp\n");
    const test::CliRun run = runCli({"extract", "--flat", "--names", names, "--output-dir",
                                     s.path(), s.file("StarDat.mpq"), "unit\\zerg\\zergling.grp"});
    EXPECT_EQ(run.out, s.file("unit_zerg_zergling.grp") + "\n") << run.err;
    EXPECT_EQ(readFile(s.file("unit_zerg_zergling.grp")), grp);
}

TEST(Cli, UsageErrorsWriteNothing) {
    ScratchDir s;
    const std::string grp = s.write("a.grp", makeSprite(2, 8, 8, {std::nullopt}));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"convert", grp},
             {"export", "--fast", grp},
             {"compile", "--unique", grp},
             {"export", "--compact", grp},
             {"extract", "--names", grp, "--output-dir", "", grp, grp}}) {
        const test::CliRun result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(s.names(), Names{"a.grp"});
}

} // namespace
} // namespace pixmorph
