#include "platform/AtomicFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    fs::create_symlink("loop.korx", dir.path() + "/loop.korx");
    // Each refusal says why, in the words of the message a save reports.
    const struct {
        const char* name;
        std::wstring why;
    } cases[] = {
        {"locked.korx", L": Permission denied (the file is read-only)."},
        {"folder", L": Is a directory."},
        {"missing/song.korx",
         L": No such file or directory (the folder " + dir.wide("missing") + L" does not exist)."},
        {"folder/", L": the path names a folder, not a file."},
        {"loop.korx", L": Too many levels of symbolic links."},
    };
    for (const auto& c : cases) {
        AtomicFile file;
        EXPECT_EQ(file.open(dir.wide(c.name)), AtomicWriteResult::CannotOpen) << c.name;
        EXPECT_EQ(file.commit(), AtomicWriteResult::CannotWrite) << c.name;
        EXPECT_EQ(kor::platform::describe(file.failure()),
                  L"Cannot save " + dir.wide(c.name) + c.why);
    }
    EXPECT_EQ(dir.read("locked.korx"), "kept");
    EXPECT_EQ(entries(dir), 3u);
}

TEST(AtomicFile, OpeningRemovesOnlyWhatKilledSavesLeftInTheFolder) {
    kor::test::TempDir dir;
    dir.write(".korsave0A1B.tmp", "left by a killed save");
    dir.write(".korsave0A1C.tmp", "held by a running save");
    const int running = ::open((dir.path() + "/.korsave0A1C.tmp").c_str(), O_RDONLY);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    const char* others[] = {"kor0A1B.tmp", ".korsave0a1b.tmp", ".korsave0A1B.tmp.bak",
                            ".korsave0A1.tmp"};
    for (const char* name : others)
        dir.write(name, "another program's");
    fs::create_directory(dir.path() + "/.korsave0A1D.tmp");
    fs::create_symlink("kor0A1B.tmp", dir.path() + "/.korsave0A1E.tmp");

    AtomicFile file;
    ASSERT_EQ(file.open(dir.wide("song.korx")), AtomicWriteResult::Done);
    EXPECT_FALSE(fs::exists(dir.path() + "/.korsave0A1B.tmp"));
    for (const char* name : others)
        EXPECT_EQ(dir.read(name), "another program's") << name;
    EXPECT_TRUE(fs::is_directory(dir.path() + "/.korsave0A1D.tmp"));
    EXPECT_TRUE(fs::is_symlink(dir.path() + "/.korsave0A1E.tmp"));
    ::close(running);
    EXPECT_EQ(dir.read(".korsave0A1C.tmp"), "held by a running save");
    EXPECT_EQ(file.commit(), AtomicWriteResult::Done);
    EXPECT_EQ(entries(dir), 8u);
}
