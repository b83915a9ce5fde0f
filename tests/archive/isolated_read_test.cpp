#include "archive/isolated_read.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace pixmorph {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kCapacity = 1u << 20;

std::vector<std::uint8_t> bytesFor(const std::string& name, std::uint32_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(name[i % name.size()] + i / name.size());
    return bytes;
}

// By name: "abort" dies, "fail" fails, "hang" never ends, "poison" reads fine but kills the
// child at its next read, "count" gives how many reads this child served; others give bytesFor.
NamedRead scriptedRead() {
    return [served = std::uint32_t{0}, poisoned = false](const std::string& name, void* buffer,
                                                         std::uint32_t size,
                                                         std::uint32_t& got) mutable {
        if (++served, name == "abort" || poisoned)
            std::abort();
        if (name == "hang")
            std::this_thread::sleep_for(60s);
        poisoned = name == "poison";
        if (size > 0)
            std::memcpy(buffer, bytesFor(name, size).data(), size);
        if (name == "count")
            std::memcpy(buffer, &served, sizeof served);
        got = size;
        return name != "fail";
    };
}

struct IsolatedReaderTest : ::testing::Test {
    bool read(const std::string& name, std::uint32_t size) {
        bytes.assign(size, 0xEE);
        std::uint32_t got = 1;
        const bool ok = reader.read(name, bytes.data(), size, got);
        EXPECT_EQ(got, ok ? size : 0u) << name;
        return ok;
    }
    std::uint32_t served() {
        std::uint32_t count = 0;
        EXPECT_TRUE(read("count", sizeof count));
        return std::memcpy(&count, bytes.data(), sizeof count), count;
    }
    IsolatedReader reader{scriptedRead(), kCapacity, 1s};
    std::vector<std::uint8_t> bytes;
};

TEST_F(IsolatedReaderTest, OneChildServesEveryReadUntilOneFails) {
    for (const std::uint32_t size : {0u, 1u, 4096u, 70000u, kCapacity}) {
        const std::string name = "unit\\" + std::to_string(size) + ".grp";
        ASSERT_TRUE(read(name, size));
        EXPECT_EQ(bytes, bytesFor(name, size)) << name;
    }
    EXPECT_EQ(served(), 6u);
    EXPECT_FALSE(read("too large", kCapacity + 1));
    // A death, a failure or a read past its deadline fails that read only; a read whose child
    // was killed by the one before it is tried again in a fresh child.
    for (const char* failing : {"abort", "fail", "hang"}) {
        ASSERT_TRUE(read("before", 100));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(read(failing, 100)) << failing;
        EXPECT_LT(std::chrono::steady_clock::now() - started, 30s) << failing;
        EXPECT_EQ(served(), 1u) << failing;
    }
    ASSERT_TRUE(read("poison", 10));
    ASSERT_TRUE(read("next", 5000));
    EXPECT_EQ(bytes, bytesFor("next", 5000));
    EXPECT_EQ(served(), 2u);
}

// The read asked for ahead is the one the next read waits for; any other read, or a second
// request, still gets its own file's bytes.
TEST_F(IsolatedReaderTest, ReadAheadServesOnlyTheReadItWasFor) {
    reader.readAhead("first", 300);
    ASSERT_TRUE(read("first", 300));
    EXPECT_EQ(bytes, bytesFor("first", 300));
    EXPECT_EQ(served(), 2u); // one child, one read of first

    reader.readAhead("first", 300);
    ASSERT_TRUE(read("first", 200)); // another size is another read
    EXPECT_EQ(bytes, bytesFor("first", 200));
    reader.readAhead("second", 100);
    reader.readAhead("third", 100); // one at a time: this one is dropped
    ASSERT_TRUE(read("third", 100));
    EXPECT_EQ(bytes, bytesFor("third", 100));
    reader.readAhead("too large", kCapacity + 1);
    ASSERT_TRUE(read("fourth", 10));
    EXPECT_EQ(bytes, bytesFor("fourth", 10));

    // A child that the read before killed is replaced, and the read asked again.
    ASSERT_TRUE(read("poison", 10));
    reader.readAhead("after", 50);
    ASSERT_TRUE(read("after", 50));
    EXPECT_EQ(bytes, bytesFor("after", 50));
    reader.readAhead("fail", 50);
    EXPECT_FALSE(read("fail", 50));
}

} // namespace
} // namespace pixmorph
