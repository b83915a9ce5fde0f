#include "cli_run.h"
#include "core/core_test_files.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>
#include <sstream>

namespace pixmorph {
namespace {

using namespace testing;
using test::runCli;
using Names = std::set<std::string>;

Names namesIn(const std::string& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

// A failed input does not stop the ones after it; the malformed-input suite has the refusals.
TEST(Cli, ExportCompileBackAndAFailureLeavesTheOtherInputsRunning) {
    ScratchDir s;
    const ByteVector a = makeSprite(1, 30, 20, {std::nullopt, std::nullopt, 0}); // 2 repeats 0
    writeFile(s.file("a.grp"), a);
    EXPECT_EQ(runCli({"export", "--unique", s.file("a.grp")}).exitCode, 0);
    EXPECT_EQ(s.names(), (Names{"a.grp", "a000.bmp", "a001.bmp", "a.qbl"}));
    ScratchDir all; // every frame its own bitmap, the repeat's too
    ASSERT_EQ(runCli({"export", "--output-dir", all.path(), s.file("a.grp")}).exitCode, 0);
    EXPECT_EQ(readText(all.file("a.qbl")), "a.grp\r\na000.bmp\r\na001.bmp\r\na002.bmp\r\n");

    writeFile(s.file("c.qbl"), std::string("c.grp gone.bmp"));
    const test::CliRun compiled = runCli({"compile", s.file("c.qbl"), s.file("a.qbl")});
    EXPECT_EQ(compiled.exitCode, 1);
    EXPECT_EQ(compiled.err, s.file("gone.bmp") + " was not found.\n"); // named once
    EXPECT_EQ(readFile(s.file("x_a.grp")), a);
    EXPECT_FALSE(s.names().contains("x_c.grp"));
    EXPECT_NE(runCli({"info", s.file("a.grp")})
                  .out.find("\nframes: 3\nsize: 30 x 20\ndistinct data offsets: 2\nencoding: "
                            "run-length\n"),
              std::string::npos);
    ASSERT_EQ(runCli({"compile", "--uncompressed", s.file("a.qbl")}).exitCode, 0);
    EXPECT_NE(runCli({"info", s.file("x_a.grp")}).out.find("\nencoding: uncompressed\n"),
              std::string::npos);
}

// The export runs two inputs at a time, and ends as if it ran them one after another: where
// two inputs write the same names the later one's files stay (a small sprite is done long
// before a large one that comes first), and the messages come in the order of the inputs (a
// quick refusal waits for a slow one before it).
TEST(Cli, ExportOfManyInputsEndsAsOneAfterAnother) {
    ScratchDir s;
    for (const char* folder : {"first", "second", "out", "alone"})
        std::filesystem::create_directory(s.file(folder));
    const ByteVector large = makeSprite(7, 256, 200, Repeats(200));
    const ByteVector small = makeSprite(8, 8, 8, Repeats(1));
    writeFile(s.file("first/s.grp"), large);
    writeFile(s.file("second/s.grp"), small);
    const auto exportTo = [&](const std::string& folder, std::vector<std::string> inputs) {
        inputs.insert(inputs.begin(), {"export", "--output-dir", s.file(folder)});
        return runCli(inputs);
    };
    ASSERT_EQ(exportTo("out", {s.file("first/s.grp"), s.file("second/s.grp")}).exitCode, 0);
    ASSERT_EQ(exportTo("alone", {s.file("second/s.grp")}).exitCode, 0);
    EXPECT_EQ(readFile(s.file("out/s.qbl")), readFile(s.file("alone/s.qbl")));
    EXPECT_EQ(readFile(s.file("out/s000.bmp")), readFile(s.file("alone/s000.bmp")));
    EXPECT_EQ(namesIn(s.file("out")).size(), 201u); // the large sprite's other frames stay

    ByteVector cut = large; // its last frame ends at the start of its row offsets
    cut.resize(readFrameEntry(large, 199)->dataOffset + 1);
    writeFile(s.file("cut.grp"), cut);
    writeFile(s.file("x.txt"), small);
    const test::CliRun refused = exportTo("out", {s.file("cut.grp"), s.file("x.txt")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, s.file("cut.grp") + " ends inside the data of frame 199.\n" +
                               s.file("x.txt") + ": Not a .GRP File\n");
}

// Extraction into folders is run by the write-fault loop; here the list and the flat names,
// two of which meet.
TEST(Cli, ArchiveListAndFlatExtract) {
    ScratchDir s;
    const ByteVector grp = sampleBytes(20000, 1), first = sampleBytes(300, 2);
    ASSERT_TRUE(writeArchive(s.file("StarDat.mpq"), {{"unit\\zerg\\zergling.grp", grp},
                                                     {"sound\\hit.wav", grp, kImplode},
                                                     {"a\\b.grp", first},
                                                     {"a_b.grp", sampleBytes(300, 3)}}));
    const std::string names = s.write(
        "names.txt",
        std::string("sound\\hit.wav\r\nunit\\zerg\\zergling.grp\r\na_b.grp\r\na\\b.grp\r\n"));
    const std::string archive = s.file("StarDat.mpq");
    // The desktop's rule and order, or every name found in the list's order.
    EXPECT_EQ(runCli({"list", "--names", names, archive}).out,
              "a\\b.grp\na_b.grp\nunit\\zerg\\zergling.grp\n");
    EXPECT_EQ(runCli({"list", "--all", "--names", names, archive}).out,
              "sound\\hit.wav\nunit\\zerg\\zergling.grp\na_b.grp\na\\b.grp\n");

    const std::string out = s.file("out");
    std::filesystem::create_directory(out);
    const test::CliRun run =
        runCli({"extract", "--flat", "--names", names, "--output-dir", out, archive,
                "unit\\zerg\\zergling.grp", "a\\b.grp", "a_b.grp", "a\\b.grp"});
    EXPECT_EQ(run.exitCode, 1);
    const std::string ab = out + "/a_b.grp";
    EXPECT_EQ(run.out, out + "/unit_zerg_zergling.grp\n" + ab + "\n" + ab + "\n");
    EXPECT_EQ(run.err, "a_b.grp was not saved: its flat name " + ab +
                           " is the file this run saved for a\\b.grp.\n");
    EXPECT_EQ(readFile(out + "/unit_zerg_zergling.grp"), grp);
    EXPECT_EQ(readFile(ab), first);
    EXPECT_EQ(namesIn(out), (Names{"a_b.grp", "unit_zerg_zergling.grp"}));
}

// Without --names the shipped list serves; --all saves every sprite a list finds, names that
// are not UTF-8 as listed.
TEST(Cli, ShippedNameListAndExtractAll) {
    ScratchDir s;
    const std::string archive = s.file("StarDat.mpq"), out = s.file("out");
    const std::vector<ArchivedFile> files = {{"unit\\zerg\\zergling.grp", sampleBytes(9000, 1)},
                                             {"unit\\terran\\marine.grp", sampleBytes(500, 2)},
                                             {"caf\xe9.grp", sampleBytes(700, 3)},
                                             {"sound\\hit.wav", sampleBytes(300, 4)}};
    ASSERT_TRUE(writeArchive(archive, files));
    EXPECT_EQ(runCli({"list", archive}).out,
              "unit\\terran\\marine.grp\nunit\\zerg\\zergling.grp\n");
    const test::CliRun one = runCli({"extract", "--output-dir", s.path(), archive, files[0].name});
    EXPECT_EQ(readFile(s.file("unit/zerg/zergling.grp")), files[0].data) << one.err;

    const std::string names =
        s.write("names.txt", files[2].name + "\n" + files[3].name + "\n" + files[1].name + "\n");
    EXPECT_EQ(runCli({"list", "--names", names, archive}).out,
              "caf\xe9.grp\nunit\\terran\\marine.grp\n");
    std::filesystem::create_directory(out);
    const test::CliRun all =
        runCli({"extract", "--all", "--flat", "--names", names, "--output-dir", out, archive});
    EXPECT_EQ(all.out, out + "/caf\xe9.grp\n" + out + "/unit_terran_marine.grp\n") << all.err;
    EXPECT_EQ(readFile(out + "/caf\xe9.grp"), files[2].data);
    EXPECT_EQ(runCli({"extract", "--all", archive, files[0].name}).exitCode, 2);
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
             {"export", "--gif", "--sheet", grp},
             {"export", "--sheet", "--columns", "0", grp},
             {"compile", "--compact", "--uncompressed", grp},
             {"extract", "--names", grp, "--output-dir", "", grp, grp}}) {
        const test::CliRun result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(runCli({"compile", grp, "--palette"}).err.find("compile: --palette needs a value\n"),
              std::string("pixmorph-cli ").size());
    EXPECT_EQ(s.names(), Names{"a.grp"});
}

TEST(Cli, EachCommandsHelpPrintsItsUsage) {
    for (const std::string command : {"export", "compile", "info", "list", "extract"}) {
        const test::CliRun help = runCli({command, "x.grp", "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.starts_with("usage: pixmorph-cli " + command + " ")) << help.out;
        // Only this command's forms: every line names it.
        std::istringstream lines(help.out);
        for (std::string line; std::getline(lines, line);)
            EXPECT_NE(line.find("pixmorph-cli " + command + " "), std::string::npos) << line;
    }
}

// A missing --output-dir is named as such before anything runs, and --mkdir makes it.
TEST(Cli, OutputFolderMissingOrMade) {
    ScratchDir s;
    const ByteVector grp = makeSprite(3, 8, 8, {std::nullopt});
    s.write("a.grp", grp);
    ASSERT_EQ(runCli({"export", s.file("a.grp")}).exitCode, 0); // a000.bmp and a.qbl beside it
    s.write("names.txt", std::string("a.grp\r\n"));
    ASSERT_TRUE(writeArchive(s.file("a.mpq"), {{"a.grp", grp}}));
    s.write("file", std::string("not a folder"));
    const Names inputs = s.names();
    const std::string out = s.file("out/deeper");
    const std::vector<std::string> commands[] = {
        {"export", s.file("a.grp")},
        {"compile", s.file("a.qbl")},
        {"extract", "--names", s.file("names.txt"), s.file("a.mpq"), "a.grp"}};
    for (const auto& command : commands) {
        std::vector<std::string> args = command;
        args.insert(args.begin() + 1, {"--output-dir", out});
        const test::CliRun missing = runCli(args);
        EXPECT_EQ(missing.exitCode, 1);
        EXPECT_EQ(missing.err, out + ": no such folder\n");
        args[2] = s.file("file");
        EXPECT_EQ(runCli(args).err, s.file("file") + ": not a folder\n");
        EXPECT_EQ(s.names(), inputs);
    }
    for (const auto& command : commands) {
        std::vector<std::string> args = command;
        args.insert(args.begin() + 1, {"--output-dir", out, "--mkdir"});
        EXPECT_EQ(runCli(args).exitCode, 0) << command[0];
    }
    EXPECT_EQ(namesIn(out), (Names{"a000.bmp", "a.qbl", "x_a.grp", "a.grp"}));
}

} // namespace
} // namespace pixmorph
