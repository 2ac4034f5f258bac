#include "platform/HeldFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;
using kor::platform::HeldFiles;

namespace {

std::string contentOf(int fd) {
    char buffer[64];
    const ssize_t got = ::pread(fd, buffer, sizeof buffer, 0);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

} // namespace

TEST(HeldFiles, KeepTheContentTheirNamesHadWhenOpened) {
    kor::test::TempDir dir;
    dir.write("removed.wav", "removed");
    dir.write("replaced.wav", "before");
    dir.write("other.wav", "someone else's");
    fs::create_symlink("other.wav", dir.path() + "/link.wav");
    HeldFiles held;
    for (const char* name : {"removed.wav", "replaced.wav", "link.wav", "missing.wav"})
        held.add(name);
    held.add("removed.wav");
    held.openIn(dir.path());
    fs::remove(dir.path() + "/removed.wav");
    dir.write("new.wav", "after");
    fs::rename(dir.path() + "/new.wav", dir.path() + "/replaced.wav");

    EXPECT_EQ(contentOf(held.find("removed.wav")), "removed");
    EXPECT_EQ(contentOf(held.find("replaced.wav")), "before");
    EXPECT_EQ(held.find("link.wav"), -1); // a link is never followed
    EXPECT_EQ(held.find("missing.wav"), -1);
    EXPECT_EQ(held.find("other.wav"), -1); // never added

    // Moving hands the descriptors over; a folder of many files holds no more than the most.
    HeldFiles moved = std::move(held);
    EXPECT_EQ(contentOf(moved.find("removed.wav")), "removed");
    HeldFiles many;
    for (std::size_t i = 0; i <= HeldFiles::kMostHeld; ++i) {
        dir.write(std::to_string(i), "x");
        many.add(std::to_string(i));
    }
    many.openIn(dir.path());
    EXPECT_EQ(contentOf(many.find(std::to_string(HeldFiles::kMostHeld - 1))), "x");
    EXPECT_EQ(many.find(std::to_string(HeldFiles::kMostHeld)), -1);
}
