#include "archive/isolated_read.h"
#include "archive/mpq_header_check.h"

#include <array>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace pixmorph {
namespace {

using namespace std::chrono_literals;

TEST(IsolatedRead, CopiesWhatTheChildReadAndItsResult) {
    std::array<char, 8> buffer{};
    std::uint32_t bytesRead = 99;
    const bool succeeded = readInChildProcess(
        [](void* into, std::uint32_t count, std::uint32_t& got) {
            std::memcpy(into, "archive", 7);
            got = std::min<std::uint32_t>(count, 7);
            return true;
        },
        buffer.data(), buffer.size(), bytesRead, 10s);
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(bytesRead, 7u);
    EXPECT_STREQ(buffer.data(), "archive");

    EXPECT_FALSE(readInChildProcess([](void*, std::uint32_t, std::uint32_t&) { return false; },
                                    buffer.data(), buffer.size(), bytesRead, 10s));
    EXPECT_EQ(bytesRead, 0u);
}

TEST(IsolatedRead, AChildThatDiesOrOverrunsIsAFailedRead) {
    std::array<char, 8> buffer{};
    std::uint32_t bytesRead = 0;
    EXPECT_FALSE(readInChildProcess(
        [](void*, std::uint32_t, std::uint32_t&) -> bool {
            std::raise(SIGKILL);
            return true;
        },
        buffer.data(), buffer.size(), bytesRead, 10s));
    // A count above what was asked for is not believed.
    EXPECT_FALSE(readInChildProcess(
        [](void*, std::uint32_t count, std::uint32_t& got) {
            got = count + 1;
            return true;
        },
        buffer.data(), buffer.size(), bytesRead, 10s));
}

TEST(IsolatedRead, AReadThatNeverEndsIsStoppedAtTheDeadline) {
    std::array<char, 8> buffer{};
    std::uint32_t bytesRead = 0;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(readInChildProcess(
        [](void*, std::uint32_t, std::uint32_t&) {
            std::this_thread::sleep_for(60s);
            return true;
        },
        buffer.data(), buffer.size(), bytesRead, 200ms));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
}

TEST(MpqHeaderCheck, TablesMustLieInsideTheFile) {
    // A version 1 header: 32 bytes, sectors of 4096, hash table of 16 entries at 32, block
    // table of 4 entries at 288; the file is 352 bytes long.
    const std::array<std::uint8_t, 32> good = {'M', 'P', 'Q', 0x1A, 32, 0,  0, 0, 0x60, 1,  0,
                                               0,   0,   0,   3,    0,  32, 0, 0, 0,    32, 1,
                                               0,   0,   16,  0,    0,  0,  4, 0, 0,    0};
    const auto with = [&](std::size_t offset, std::uint8_t value) {
        auto damaged = good;
        damaged[offset] = value;
        return damaged;
    };
    EXPECT_TRUE(mpqHeaderIsSane(good, 352));
    EXPECT_FALSE(mpqHeaderIsSane(good, 351)) << "block table ends past the file";
    EXPECT_FALSE(mpqHeaderIsSane(Bytes(good).first(31), 352)) << "short header";
    EXPECT_FALSE(mpqHeaderIsSane(with(3, 0x1B), 352)) << "signature";
    EXPECT_FALSE(mpqHeaderIsSane(with(4, 31), 352)) << "header size";
    EXPECT_FALSE(mpqHeaderIsSane(with(14, 16), 352)) << "sector size";
    EXPECT_FALSE(mpqHeaderIsSane(with(27, 0x10), 352)) << "hash table entries";
    EXPECT_FALSE(mpqHeaderIsSane(with(19, 0x80), 352)) << "hash table position";
    EXPECT_FALSE(mpqHeaderIsSane(with(31, 0xFF), 352)) << "block table entries";
}

} // namespace
} // namespace pixmorph
