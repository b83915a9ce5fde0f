// Writes cut short by a file size limit, a disk that takes nothing (the limit at 0) and a
// read-only output folder each end the export, compile or extraction with one line naming the
// file, every earlier output byte-identical and no temporary file left. Then the worst input.
#include "cli_run.h"
#include "core/core_test_files.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;
using testing::writeFile;

// A 64 x 64 sprite of one pixel, then noise: its first bitmap is much smaller than its second.
ByteVector smallThenLargeFrames(std::uint32_t seed) {
    SpriteWriter writer(2);
    IndexImage image;
    image.set(3, 3, 7);
    writer.addFrame(image, 64, 64);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 63; ++y)
            image.set(x, y, 1 + ((seed = seed * 1664525u + 1013904223u) >> 24) % 255);
    writer.addFrame(image, 64, 64);
    return writer.finish();
}

void setFolderModes(const std::string& top, fs::perms modes) {
    fs::permissions(top, modes);
    for (const auto& item : fs::recursive_directory_iterator(top))
        if (item.is_directory())
            fs::permissions(item.path(), modes);
}

TEST(WriteFault, ExportCompileAndExtractionKeepEveryEarlierOutput) {
    ScratchDir root;
    const std::string in = root.file("in"), out = root.file("out"), name = "unit\\zerg\\s.grp";
    fs::create_directory(in);
    fs::create_directory(out);
    fs::permissions(root.path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    writeFile(in + "/names.txt", name + "\n");
    // clang-format off
    // An extraction's message is about the file written, after the archive name of its entry.
    const struct { std::vector<std::string> args; std::string entry, firstWrite, largestWrite; } commands[] = {
        {{"export", "--output-dir", out, in + "/s.grp"}, "", out + "/s000.bmp", out + "/s001.bmp"},
        {{"compile", "--output-dir", out, in + "/s.qbl"}, "", out + "/x_s.grp", out + "/x_s.grp"},
        {{"extract", "--names", in + "/names.txt", "--output-dir", out, in + "/a.mpq", name}, name + ": ",
         out + "/unit/zerg/s.grp", out + "/unit/zerg/s.grp"},
    }; // clang-format on
    // The inputs of a seed: a sprite, its bitmaps and list beside it, an archive holding it.
    const auto makeInputs = [&](std::uint32_t seed) {
        writeFile(in + "/s.grp", smallThenLargeFrames(seed));
        EXPECT_EQ(test::runCli({"export", in + "/s.grp"}).exitCode, 0);
        EXPECT_TRUE(testing::writeArchive(in + "/a.mpq", {{name, smallThenLargeFrames(seed)}}));
    };
    makeInputs(1);
    for (const auto& command : commands)
        ASSERT_EQ(test::runCli(command.args).exitCode, 0) << command.args[0];
    makeInputs(2);

    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    // Run as root, the read-only folder needs a user it stops; where that user cannot run the
    // program (nor its copy), that fault alone is left out.
    const bool unprivilegedRuns =
        test::runCli({"--version"}, {.asUnprivilegedUser = true}).exitCode == 0;
    if (!unprivilegedRuns)
        std::cout << "[ SKIPPED  ] the read-only output folder: an unprivileged user cannot run "
                     "pixmorph-cli or a copy of it in /tmp\n";
    for (const auto& command : commands) {
        // Half the largest file the command writes: past the smaller ones, short of that one.
        ScratchDir probe;
        std::vector<std::string> probeArgs = command.args;
        std::ranges::replace(probeArgs, out, probe.path());
        ASSERT_EQ(test::runCli(probeArgs).exitCode, 0);
        std::uintmax_t largest = 0;
        for (const auto& item : fs::recursive_directory_iterator(probe.path()))
            largest = std::max(largest, item.is_regular_file() ? item.file_size() : 0);
        const std::pair<test::CliRunOptions, std::string> faults[] = {
            {{.fileSizeLimit = long(largest / 2)},
             command.entry + "Disk full while accessing " + command.largestWrite},
            {{.fileSizeLimit = 0},
             command.entry + "Disk full while accessing " + command.firstWrite},
            {{.asUnprivilegedUser = true}, command.entry + "Access to " + command.firstWrite},
        };
        setFolderModes(out, readOnly);
        for (const auto& [options, lineStart] : faults) {
            if (options.asUnprivilegedUser && !unprivilegedRuns)
                continue;
            const testing::FolderSnapshot before = testing::snapshotOf(root.path());
            const test::CliRun run = test::runCli(command.args, options);
            EXPECT_EQ(run.exitCode, 1) << run.err << " signal " << run.signal;
            EXPECT_TRUE(run.err.starts_with(lineStart) && run.err.find('\n') + 1 == run.err.size())
                << run.err;
            EXPECT_EQ(testing::snapshotOf(root.path()), before) << command.args[0];
        }
        setFolderModes(out, readOnly | fs::perms::owner_write);
    }
}

extern "C" void __asan_init() __attribute__((weak)); // set only in a sanitized build

// A list that grows the sprite past what the readers take (64 MB) ends in its refusal below
// 256 MB and within a CPU time limit that only a hang would reach.
TEST(WorstCase, ASpriteGrowingPastWhatTheReadersTakeEndsWithinMemoryAndTime) {
    if (&__asan_init != nullptr)
        GTEST_SKIP() << "the sanitizers' own memory would be counted";
    // Neighbours always differ, so each 255 x 240 frame is all literals: some 63 kB a frame.
    ByteVector rows;
    for (int y = 239; y >= 0; --y)
        for (int x = 0; x < 256; ++x)
            rows.push_back(x < 255 ? static_cast<std::uint8_t>(1 + (7 * x + 13 * y) % 255) : 0);
    ScratchDir d;
    writeFile(d.file("f.bmp"), test::handLaidBmp(255, 240, 8, 0, rows));
    std::string list = "s.grp";
    for (int i = 0; i < 4000; ++i)
        list += "\r\nf.bmp";
    writeFile(d.file("s.qbl"), list);
    const test::CliRun run = test::runCli({"compile", d.file("s.qbl")}, {.cpuSecondsLimit = 60});
    EXPECT_EQ(run.exitCode, 1) << run.err << " signal " << run.signal;
    EXPECT_EQ(std::ranges::count(run.err, '\n'), 1) << run.err;
    EXPECT_LT(run.peakMemoryKb, 256 * 1024);
    RecordProperty("peak_memory_kb", std::to_string(run.peakMemoryKb));
}

} // namespace
} // namespace pixmorph
