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

TEST(MemoryStatus, HeadroomKeepsSpareMemoryBeyondTheAllocation) {
    constexpr std::uint64_t MiB = 1 << 20;
    const MemoryStatus status{/*availablePhysical=*/300 * MiB, /*availableVirtual=*/500 * MiB};
    EXPECT_TRUE(headroomAllows(200 * MiB, status)); // 100 MiB physical to spare
    EXPECT_FALSE(headroomAllows(200 * MiB + 1, status));
    EXPECT_FALSE(headroomAllows(100 * MiB, MemoryStatus{300 * MiB, 299 * MiB}));
    EXPECT_FALSE(headroomAllows(0, MemoryStatus{50 * MiB, 500 * MiB}));
    EXPECT_FALSE(headroomAllows(UINT64_MAX, status));
    EXPECT_TRUE(headroomAllows(UINT64_MAX, std::nullopt)); // an unknown status allows it
}
