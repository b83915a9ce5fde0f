// The input found to cost the most memory: a list that grows the sprite past what the readers
// take (64 MB). The compile ends with its refusal below 256 MB and within a CPU time limit that
// only a hang would reach. Peak memory is the kernel's maximum resident set size of the child.
#include "cli_run.h"
#include "core/core_test_files.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

TEST(WorstCase, ASpriteGrowingPastWhatTheReadersTakeEndsWithinMemoryAndTime) {
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers' own memory would be counted";
    // Neighbours always differ, so each 255 x 240 frame is all literals: some 63 kB a frame.
    ByteVector rows;
    for (int y = 239; y >= 0; --y)
        for (int x = 0; x < 256; ++x)
            rows.push_back(x < 255 ? static_cast<std::uint8_t>(1 + (7 * x + 13 * y) % 255) : 0);
    testing::ScratchDir d;
    testing::writeFile(d.file("f.bmp"), test::handLaidBmp(255, 240, 8, 0, rows));
    std::string list = "s.grp";
    for (int i = 0; i < 4000; ++i)
        list += "\r\nf.bmp";
    testing::writeFile(d.file("s.qbl"), list);

    test::CliRunOptions options;
    options.cpuSecondsLimit = 60;
    const test::CliRun run = test::runCli({"compile", d.file("s.qbl")}, options);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(test::linesOf(run.err).size(), 1u) << run.err;
    EXPECT_LT(run.peakMemoryKb, 256 * 1024);
    RecordProperty("peak_memory_kb", std::to_string(run.peakMemoryKb));
}

} // namespace
} // namespace pixmorph
