#include "cli/cli.h"
#include "support/job_files.h"
#include "support/run_cli.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using Names = std::set<std::string>;

// a.grp (frame 2 repeats frame 0) and b.grp.
struct Sprites {
    ScratchDir dir;
    ByteVector a = makeSprite(1, 30, 20, {std::nullopt, std::nullopt, 0});
    ByteVector b = makeSprite(2, 8, 8, {std::nullopt});
    Sprites() {
        writeFile(dir.file("a.grp"), a);
        writeFile(dir.file("b.grp"), b);
    }
};

TEST(Cli, ExportAndCompileBack) {
    Sprites s;
    EXPECT_EQ(runCli({"export", "--unique", s.dir.file("a.grp"), s.dir.file("b.grp")}).status, 0);
    EXPECT_EQ(s.dir.names(),
              (Names{"a.grp", "a000.bmp", "a001.bmp", "a.qbl", "b.grp", "b000.bmp", "b.qbl"}));
    EXPECT_EQ(runCli({"compile", s.dir.file("a.qbl"), s.dir.file("b.qbl")}).status, 0);
    EXPECT_EQ(readFile(s.dir.file("x_a.grp")), s.a);
    EXPECT_EQ(readFile(s.dir.file("x_b.grp")), s.b);

    ScratchDir out, compiled; // every frame, options after the input
    EXPECT_EQ(runCli({"export", s.dir.file("a.grp"), "--output-dir", out.path()}).status, 0);
    EXPECT_EQ(out.names(), (Names{"a000.bmp", "a001.bmp", "a002.bmp", "a.qbl"}));
    EXPECT_EQ(runCli({"compile", "--output-dir", compiled.path(), out.file("a.qbl")}).status, 0);
    EXPECT_EQ(compiled.names(), Names{"x_a.grp"});
}

TEST(Cli, FailuresAreOneLineAndTheOtherInputsStillRun) {
    Sprites s;
    const std::string missing = s.dir.file("missing.grp");
    const CliResult exported = runCli({"export", missing, s.dir.file("b.grp")});
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(exported.err, missing + ": " + missing + " was not found.\n");
    EXPECT_TRUE(s.dir.names().contains("b.qbl"));

    writeFile(s.dir.file("list.txt"), std::string("b.grp b000.bmp"));
    writeFile(s.dir.file("c.qbl"), std::string("c.grp rle4.bmp"));
    ByteVector rle4(54);
    rle4[30] = 2;
    writeFile(s.dir.file("rle4.bmp"), rle4);
    const CliResult compiled =
        runCli({"compile", s.dir.file("list.txt"), s.dir.file("c.qbl"), s.dir.file("b.qbl")});
    EXPECT_EQ(compiled.status, 1);
    EXPECT_EQ(compiled.err, s.dir.file("list.txt") + ": Not a .QBL File\n" +
                                s.dir.file("rle4.bmp") +
                                ": Unsupported File Format Not RLE encoded or RGB format.\n");
    EXPECT_TRUE(s.dir.names().contains("x_b.grp"));
    EXPECT_FALSE(s.dir.names().contains("x_c.grp"));
}

// The palette option's refusals and colours are in the malformed-input suite.

TEST(Cli, InfoListsTheFrameTable) {
    Sprites s;
    const FrameEntry e = *readFrameEntry(s.a, 1);
    const CliResult result = runCli({"info", s.dir.file("a.grp"), s.dir.file("none.grp")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find(s.dir.file("a.grp") +
                              "\nframes: 3\nsize: 30 x 20\ndistinct data offsets: 2\n"
                              "frame x y width height offset\n0 "),
              std::string::npos);
    EXPECT_NE(result.out.find("\n1 " + std::to_string(e.xOffset) + " " + std::to_string(e.yOffset) +
                              " " + std::to_string(e.width) + " " + std::to_string(e.height) + " " +
                              std::to_string(e.dataOffset) + "\n"),
              std::string::npos);
}

TEST(Cli, UsageErrors) {
    Sprites s;
    const std::string grp = s.dir.file("a.grp");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"convert", grp},
             {"export"},
             {"export", "--fast", grp},
             {"export", grp, "--output-dir"},
             {"compile", "--unique", grp},
             {"info"},
             {"list", grp},
             {"list", "--flat", "--names", grp, grp},
             {"extract", "--names", grp, grp},
             {"extract", "--names", grp, "--output-dir", "", grp, grp}}) {
        const CliResult result = runCli(args);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(s.dir.names(), (Names{"a.grp", "b.grp"}));
    EXPECT_EQ(runCli({"--version"}).out, "pixmorph-cli 1.85\n");
}

} // namespace
} // namespace pixmorph
