#include "archive/isolated_read.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace pixmorph {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kCapacity = 1u << 20;

// What the child does is chosen by the name: "abort" dies, "fail" fails, "hang" never ends,
// "poison" reads fine but leaves the child to die at its next read, "count" gives how many
// reads this child has served; any other name gives byteCount bytes made from the name.
NamedRead scriptedRead() {
    return [served = std::uint32_t{0}, poisoned = false](const std::string& name, void* buffer,
                                                         std::uint32_t byteCount,
                                                         std::uint32_t& bytesRead) mutable {
        ++served;
        if (name == "abort" || poisoned)
            std::abort();
        if (name == "fail")
            return false;
        if (name == "hang")
            std::this_thread::sleep_for(60s);
        poisoned = name == "poison";
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        for (std::uint32_t i = 0; i < byteCount; ++i)
            bytes[i] = static_cast<std::uint8_t>(name[i % name.size()] + i / name.size());
        if (name == "count" && byteCount >= sizeof served)
            std::memcpy(buffer, &served, sizeof served);
        bytesRead = byteCount;
        return true;
    };
}

std::vector<std::uint8_t> expectedBytes(const std::string& name, std::uint32_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(name[i % name.size()] + i / name.size());
    return bytes;
}

class IsolatedReaderTest : public ::testing::Test {
protected:
    bool read(const std::string& name, std::uint32_t size) {
        bytes_.assign(size, 0xEE);
        std::uint32_t bytesRead = 1;
        const bool ok = reader_.read(name, bytes_.data(), size, bytesRead);
        EXPECT_EQ(bytesRead, ok ? size : 0u) << name;
        return ok;
    }

    std::uint32_t served() {
        std::uint32_t count = 0;
        EXPECT_TRUE(read("count", sizeof count));
        std::memcpy(&count, bytes_.data(), sizeof count);
        return count;
    }

    IsolatedReader reader_{scriptedRead(), kCapacity, 1s};
    std::vector<std::uint8_t> bytes_;
};

TEST_F(IsolatedReaderTest, ManyReadsInARowAreServedByOneChildWithTheRightBytes) {
    const std::uint32_t sizes[] = {0, 1, 4095, 4096, 70000, kCapacity, 3};
    for (int round = 0; round < 40; ++round) {
        const std::string name = "unit\\file" + std::to_string(round) + ".grp";
        const std::uint32_t size = sizes[round % std::size(sizes)];
        ASSERT_TRUE(read(name, size)) << name;
        EXPECT_EQ(bytes_, expectedBytes(name, size)) << name;
    }
    EXPECT_EQ(served(), 41u);
    EXPECT_FALSE(read("too large", kCapacity + 1));
}

TEST_F(IsolatedReaderTest, AFailedReadLeavesTheNextToAFreshChild) {
    for (const char* failing : {"abort", "fail", "hang"}) {
        ASSERT_TRUE(read("before", 100));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(read(failing, 100)) << failing;
        EXPECT_LT(std::chrono::steady_clock::now() - started, 30s) << failing;
        EXPECT_EQ(served(), 1u) << failing;
        ASSERT_TRUE(read("after", 5000)) << failing;
        EXPECT_EQ(bytes_, expectedBytes("after", 5000)) << failing;
    }
}

// Damage one read does to the child's memory must not be charged to the file read next.
TEST_F(IsolatedReaderTest, AReadThatKillsAUsedChildIsTriedAgainInAFreshOne) {
    ASSERT_TRUE(read("poison", 10));
    ASSERT_TRUE(read("next", 10));
    EXPECT_EQ(bytes_, expectedBytes("next", 10));
    EXPECT_EQ(served(), 2u);
}

} // namespace
} // namespace pixmorph
