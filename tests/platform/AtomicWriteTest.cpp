#include "platform/AtomicWrite.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using kor::platform::AtomicWriteResult;
using kor::platform::writeFileAtomically;

TEST(AtomicWrite, ReplacesAFileWholeKeepingItsPermissions) {
    kor::test::TempDir dir;
    EXPECT_EQ(writeFileAtomically(dir.wide("song.korx"), "first"), AtomicWriteResult::Done);
    fs::permissions(dir.path() + "/song.korx", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(writeFileAtomically(dir.wide("song.korx"), "second, longer"),
              AtomicWriteResult::Done);
    EXPECT_EQ(dir.read("song.korx"), "second, longer");
    EXPECT_EQ(fs::status(dir.path() + "/song.korx").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

TEST(AtomicWrite, RefusesTargetsItMustNotReplace) {
    kor::test::TempDir dir;
    dir.write("locked.korx", "kept");
    fs::permissions(dir.path() + "/locked.korx", fs::perms::owner_write, fs::perm_options::remove);
    fs::create_directory(dir.path() + "/folder");
    for (const char* name : {"locked.korx", "folder", "missing/song.korx", "folder/"})
        EXPECT_EQ(writeFileAtomically(dir.wide(name), "new"), AtomicWriteResult::CannotOpen)
            << name;
    EXPECT_EQ(dir.read("locked.korx"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}
