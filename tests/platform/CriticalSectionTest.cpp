#include "platform/CriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kor::platform;

TEST(CriticalSection, OwnerRelocksAndOthersWaitForFullRelease) {
    CriticalSection section;
    std::atomic<bool> entered{false};
    std::thread other;
    {
        ScopedLock outer(section);
        ScopedLock inner(section); // the owner takes it again without deadlock
        other = std::thread([&] {
            EXPECT_FALSE(section.try_lock());
            ScopedLock lock(section);
            entered = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(entered) << "another thread got in while the owner held the lock";
    }
    other.join();
    EXPECT_TRUE(entered);
}
