#include "platform/AtomicFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using kor::platform::AtomicFile;
using kor::platform::AtomicWriteResult;

namespace {

std::size_t entries(const kor::test::TempDir& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path()), {}));
}

} // namespace

TEST(AtomicFile, ReplacesAFileWholeOnlyWhenCommitted) {
    kor::test::TempDir dir;
    dir.write("song.korx", "first");
    fs::permissions(dir.path() + "/song.korx", fs::perms::owner_read | fs::perms::owner_write);
    {
        AtomicFile file;
        ASSERT_EQ(file.open(dir.wide("song.korx")), AtomicWriteResult::Done);
        EXPECT_TRUE(file.write("abandoned"));
    }
    EXPECT_EQ(dir.read("song.korx"), "first");
    EXPECT_EQ(entries(dir), 1u);

    AtomicFile file;
    ASSERT_EQ(file.open(dir.wide("song.korx")), AtomicWriteResult::Done);
    EXPECT_TRUE(file.write("second, ") && file.write("longer"));
    EXPECT_EQ(dir.read("song.korx"), "first");
    EXPECT_EQ(file.commit(), AtomicWriteResult::Done);
    EXPECT_EQ(dir.read("song.korx"), "second, longer");
    EXPECT_EQ(fs::status(dir.path() + "/song.korx").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entries(dir), 1u);
}

TEST(AtomicFile, RefusesTargetsItMustNotReplace) {
    kor::test::TempDir dir;
    dir.write("locked.korx", "kept");
    fs::permissions(dir.path() + "/locked.korx", fs::perms::owner_write, fs::perm_options::remove);
    fs::create_directory(dir.path() + "/folder");
    for (const char* name : {"locked.korx", "folder", "missing/song.korx", "folder/"}) {
        AtomicFile file;
        EXPECT_EQ(file.open(dir.wide(name)), AtomicWriteResult::CannotOpen) << name;
        EXPECT_EQ(file.commit(), AtomicWriteResult::CannotWrite) << name;
    }
    EXPECT_EQ(dir.read("locked.korx"), "kept");
    EXPECT_EQ(entries(dir), 2u);
}
