#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

using namespace kor::platform;

TEST(MemoryStatus, ReadsMemAvailableInBytes) {
    EXPECT_EQ(parseMemAvailable("MemTotal:       16000000 kB\n"
                                "MemFree:         1000000 kB\n"
                                "MemAvailable:    8000000 kB\n"),
              std::uint64_t{8000000} * 1024);
    EXPECT_EQ(parseMemAvailable("MemAvailable: 12 kB"), 12288u);
    EXPECT_EQ(parseMemAvailable("MemFree: 5 kB\nXMemAvailable: 7 kB\n"), std::nullopt);
    EXPECT_EQ(parseMemAvailable("MemAvailable: lots\n"), std::nullopt);
    EXPECT_EQ(parseMemAvailable("MemAvailable: 7 MB\n"), std::nullopt);
}

TEST(MemoryStatus, QueriesThisMachine) {
    const auto status = queryMemoryStatus();
    ASSERT_TRUE(status);
    EXPECT_GT(status->availablePhysical, 0u);
    EXPECT_GT(status->availableVirtual, std::uint64_t{1} << 30);
}
