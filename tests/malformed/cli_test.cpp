#include "cli_run.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"
#include "support/palette_files.h"

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

    const test::CliRun info = runCli({"info", s.file("a.grp")});
    EXPECT_NE(info.out.find("\nframes: 3\nsize: 30 x 20\ndistinct data offsets: 2\n"),
              std::string::npos);
}

// The uncompressed variant written from a list, named by info, and exported back the same.
TEST(Cli, UncompressedSpriteRoundTrip) {
    ScratchDir s;
    writeFile(s.file("a.grp"), makeSprite(3, 40, 30, {std::nullopt, std::nullopt, 1}));
    ASSERT_EQ(runCli({"export", s.file("a.grp")}).exitCode, 0);
    const test::CliRun compiled = runCli({"compile", "--uncompressed", s.file("a.qbl")});
    ASSERT_EQ(compiled.exitCode, 0) << compiled.err;
    EXPECT_NE(runCli({"info", s.file("x_a.grp")}).out.find("\nencoding: uncompressed\n"),
              std::string::npos);
    EXPECT_NE(runCli({"info", s.file("a.grp")}).out.find("\nencoding: run-length\n"),
              std::string::npos);
    std::filesystem::create_directory(s.file("back"));
    ASSERT_EQ(runCli({"export", "--output-dir", s.file("back"), s.file("x_a.grp")}).exitCode, 0);
    for (const char* frame : {"000", "001", "002"})
        EXPECT_EQ(readFile(s.file("back/x_a") + frame + ".bmp"),
                  readFile(s.file("a") + frame + ".bmp"));
}

// --palette takes the kinds Load Palette takes; the BMP's colour table shows the colours.
TEST(Cli, PaletteKindsOnTheCommandLine) {
    ScratchDir s;
    writeFile(s.file("a.grp"), makeSprite(4, 8, 8, {std::nullopt}));
    const std::vector<test::Rgb> colours = {{0, 0, 0}, {10, 20, 30}};
    writeFile(s.file("t.wpe"), test::colourTable(colours, 4, 256));
    writeFile(s.file("g.gpl"), test::gimpPalette(colours));
    for (const char* palette : {"t.wpe", "g.gpl"}) {
        const test::CliRun run = runCli({"export", "--palette", s.file(palette), s.file("a.grp")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const ByteVector bmp = readFile(s.file("a000.bmp"));
        EXPECT_EQ(ByteVector(bmp.begin() + 58, bmp.begin() + 62), (ByteVector{30, 20, 10, 0}))
            << palette;
    }
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
             {"extract", "--names", grp, "--output-dir", "", grp, grp}}) {
        const test::CliRun result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(s.names(), Names{"a.grp"});
}

} // namespace
} // namespace pixmorph
