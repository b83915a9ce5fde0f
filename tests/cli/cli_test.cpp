#include "cli/cli.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"
#include "support/run_cli.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using Names = std::set<std::string>;

TEST(Cli, ExportCompileBackAndFailuresLeaveTheOtherInputsRunning) {
    ScratchDir s;
    const ByteVector a = makeSprite(1, 30, 20, {std::nullopt, std::nullopt, 0}); // 2 repeats 0
    writeFile(s.file("a.grp"), a);
    EXPECT_EQ(runCli({"export", "--unique", s.file("a.grp")}).status, 0);
    EXPECT_EQ(s.names(), (Names{"a.grp", "a000.bmp", "a001.bmp", "a.qbl"}));

    const std::string missing = s.file("missing.grp");
    writeFile(s.file("c.qbl"), std::string("c.grp rle4.bmp"));
    ByteVector rle4(54);
    rle4[30] = 2;
    writeFile(s.file("rle4.bmp"), rle4);
    const CliResult compiled = runCli({"compile", s.file("c.qbl"), s.file("a.qbl")});
    EXPECT_EQ(compiled.status, 1);
    EXPECT_EQ(compiled.err,
              s.file("rle4.bmp") + ": Unsupported File Format Not RLE encoded or RGB format.\n");
    EXPECT_EQ(readFile(s.file("x_a.grp")), a);
    EXPECT_FALSE(s.names().contains("x_c.grp"));
    const CliResult exported = runCli({"export", missing});
    EXPECT_EQ(exported.err, missing + ": " + missing + " was not found.\n");

    const CliResult info = runCli({"info", s.file("a.grp")});
    EXPECT_NE(info.out.find("\nframes: 3\nsize: 30 x 20\ndistinct data offsets: 2\n"),
              std::string::npos);
}

TEST(Cli, ArchiveListAndExtract) {
    ScratchDir s;
    const ByteVector grp = sampleBytes(20000, 1), wav = sampleBytes(3000, 2);
    ASSERT_TRUE(writeArchive(s.file("StarDat.mpq"), {{"unit\\zerg\\zergling.grp", grp, kPkware},
                                                     {"sound\\hit.wav", wav, kImplode}}));
    writeFile(s.file("names.txt"), std::string("sound\\hit.wav\r\nunit\\zerg\\zergling.grp\r\n"));
    const std::string out = s.file("out");
    std::filesystem::create_directory(out);
    const CliResult list = runCli({"list", "--names", s.file("names.txt"), s.file("StarDat.mpq")});
    EXPECT_EQ(list.out, "unit\\zerg\\zergling.grp\n");
    for (const bool flat : {false, true}) {
        const std::string path =
            out + (flat ? "/unit_zerg_zergling.grp" : "/unit/zerg/zergling.grp");
        std::vector<std::string> args{"extract",
                                      "--names",
                                      s.file("names.txt"),
                                      "--output-dir",
                                      out,
                                      s.file("StarDat.mpq"),
                                      "unit\\zerg\\zergling.grp"};
        if (flat)
            args.insert(args.begin() + 1, "--flat");
        const CliResult run = runCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, path + "\n");
        EXPECT_EQ(readFile(path), grp);
    }
}

TEST(Cli, UsageErrorsWriteNothing) {
    ScratchDir s;
    const std::string grp = s.write("a.grp", makeSprite(2, 8, 8, {std::nullopt}));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"convert", grp},
             {"export", "--fast", grp},
             {"compile", "--unique", grp},
             {"extract", "--names", grp, "--output-dir", "", grp, grp}}) {
        const CliResult result = runCli(args);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(s.names(), Names{"a.grp"});
}

} // namespace
} // namespace pixmorph
