// The worst inputs found for memory and time, each as large as the readers take (64 MB): every
// command ends with its answer, below 256 MB of memory and within a CPU time limit that only
// a hang would reach. Peak memory is the kernel's maximum resident set size of the child, the
// figure /usr/bin/time -v reports.
#include "cli_run.h"
#include "core/bytes.h"
#include "core/core_test_files.h"
#include "core/file_io.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <functional>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using testing::ScratchDir;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

constexpr long kMemoryLimitKb = 256 * 1024;
constexpr long kCpuSecondsLimit = 60;
constexpr std::size_t kLargestInput = kMaxWholeFileSize;

// An 8-bit uncompressed picture of width x height whose neighbours always differ, so its frame
// is all literal runs, the most bytes a frame takes.
ByteVector noisePicture(int width, int height) {
    ByteVector rows;
    const int stride = (width + 3) / 4 * 4;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < stride; ++x)
            rows.push_back(x < width ? static_cast<std::uint8_t>(1 + (7 * x + 13 * y) % 255) : 0);
    return test::handLaidBmp(width, height, 8, 0, rows);
}

// A 24-bit picture whose every pixel has a colour of its own, different again for each seed.
ByteVector everyPixelItsOwnColour(int size, std::uint8_t seed) {
    ByteVector rows;
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) // 3 * size is a multiple of 4: no padding
            rows.insert(rows.end(),
                        {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), seed});
    return test::handLaidBmp(size, size, 24, 0, rows);
}

std::string repeatedLines(const std::string& first, const std::string& line, std::size_t count) {
    std::string text = first;
    text.reserve(first.size() + count * (line.size() + 2));
    for (std::size_t i = 0; i < count; ++i)
        text += "\r\n" + line;
    return text;
}

struct WorstInput {
    const char* name;
    // Writes the inputs into the folder and gives the command's arguments.
    std::function<std::vector<std::string>(const ScratchDir&)> prepare;
    int exitCode;
};

std::vector<WorstInput> worstInputs() {
    return {
        {"ListOfMillionsOfNames",
         [](const ScratchDir& d) {
             std::string text = "s.grp";
             text.reserve(kLargestInput);
             while (text.size() + 2 <= kLargestInput)
                 text += "\nf";
             testing::writeFile(d.file("s.qbl"), text);
             return std::vector<std::string>{"compile", d.file("s.qbl")};
         },
         1},
        // Each frame takes some 63 kB, so the sprite reaches 64 MB before the list ends.
        {"SpriteGrowingPastWhatTheReadersTake",
         [](const ScratchDir& d) {
             testing::writeFile(d.file("f.bmp"), noisePicture(255, 240));
             testing::writeFile(d.file("s.qbl"), repeatedLines("s.grp", "f.bmp", 4000));
             return std::vector<std::string>{"compile", d.file("s.qbl")};
         },
         1},
        {"BitmapsOfMillionsOfColours",
         [](const ScratchDir& d) {
             std::vector<std::string> names;
             for (int i = 0; i < 150; ++i) {
                 names.push_back("f" + std::to_string(i) + ".bmp");
                 testing::writeFile(d.file(names.back()),
                                    everyPixelItsOwnColour(240, static_cast<std::uint8_t>(i)));
             }
             std::string text = "s.grp";
             for (const std::string& name : names)
                 text += "\r\n" + name;
             testing::writeFile(d.file("s.qbl"), text);
             return std::vector<std::string>{"compile", d.file("s.qbl")};
         },
         0},
        // Every row of a 255 x 255 frame, shown eight times, starts on one stream of opcodes
        // that draw nothing.
        {"SpriteOfRowsThatIdleToTheEnd",
         [](const ScratchDir& d) {
             ByteVector file = test::handLaidSprite(
                 256, 256, std::vector<test::HandFrame>(8, {0, 0, 255, 255, {}}));
             const std::uint32_t data = 6 + 8 * 8;
             for (int frame = 0; frame < 8; ++frame)
                 putU32(file, 6 + 8 * frame + 4, data);
             for (int row = 0; row < 255; ++row)
                 appendU16(file, 510);
             file.resize(kLargestInput - 3, 0x00);
             file.insert(file.end(), {0xFF, 0xFF, 0xFF});
             testing::writeFile(d.file("s.grp"), file);
             return std::vector<std::string>{"export", d.file("s.grp")};
         },
         1},
        // One row of 32 million pairs, most of them past the right edge, twenty times.
        {"BitmapOfEndlessPairs",
         [](const ScratchDir& d) {
             ByteVector pairs;
             pairs.reserve(kLargestInput);
             while (pairs.size() + 4 <= kLargestInput - 54)
                 pairs.insert(pairs.end(), {255, 7});
             pairs.insert(pairs.end(), {0, 1});
             testing::writeFile(d.file("f.bmp"), test::handLaidBmp(255, 256, 8, 1, pairs));
             testing::writeFile(d.file("s.qbl"), repeatedLines("s.grp", "f.bmp", 20));
             return std::vector<std::string>{"compile", d.file("s.qbl")};
         },
         0},
        // Every line is a name looked up in the archive, the empty ones too.
        {"NameListOfMillionsOfLines",
         [](const ScratchDir& d) {
             EXPECT_TRUE(testing::writeArchive(d.file("a.mpq"), {{"unit\\a.grp", {1, 2, 3}}}));
             testing::writeFile(d.file("names.txt"), std::string(kLargestInput, '\n'));
             return std::vector<std::string>{"list", "--names", d.file("names.txt"),
                                             d.file("a.mpq")};
         },
         1},
        // 65535 entries, all of one 256 x 256 frame: one bitmap and a list of 65535 lines.
        {"LargestFrameTable",
         [](const ScratchDir& d) {
             ByteVector file;
             for (const std::uint16_t field : {65535, 256, 256})
                 appendU16(file, field);
             const std::uint32_t data = 6 + 8 * 65535;
             for (int i = 0; i < 65535; ++i) {
                 file.insert(file.end(), {0, 0, 255, 254});
                 appendU32(file, data);
             }
             for (int row = 0; row < 254; ++row)
                 appendU16(file, static_cast<std::uint16_t>(508 + 4 * row));
             for (int row = 0; row < 254; ++row) // 63 + 127 + 65 pixels
                 file.insert(file.end(), {0x7F, 7, 0xFF, 0xC1});
             testing::writeFile(d.file("s.grp"), file);
             return std::vector<std::string>{"export", "--unique", d.file("s.grp")};
         },
         0},
    };
}

void PrintTo(const WorstInput& input, std::ostream* out) {
    *out << input.name;
}

class WorstCase : public ::testing::TestWithParam<WorstInput> {};

TEST_P(WorstCase, EndsWithinMemoryAndTime) {
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers' own memory would be counted";
    ScratchDir folder;
    const std::vector<std::string> args = GetParam().prepare(folder);
    test::CliRunOptions options;
    options.cpuSecondsLimit = kCpuSecondsLimit;
    const test::CliRun run = test::runCli(args, options);
    EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal;
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_LE(test::linesOf(run.err).size(), 1u) << run.err;
    EXPECT_LT(run.peakMemoryKb, kMemoryLimitKb);
    RecordProperty("peak_memory_kb", std::to_string(run.peakMemoryKb));
}

INSTANTIATE_TEST_SUITE_P(Inputs, WorstCase, ::testing::ValuesIn(worstInputs()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pixmorph
