#include "archive/isolated_read.h"

#include <array>
#include <gtest/gtest.h>
#include <thread>

namespace pixmorph {
namespace {

using namespace std::chrono_literals;

// (A child that dies is a failed read too: see the damaged archives.)
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

} // namespace
} // namespace pixmorph
