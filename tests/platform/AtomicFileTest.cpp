#include "platform/AtomicFile.h"

#include "support/FaultyFileCalls.h"
#include "support/OtherUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kor::platform::AtomicFile;
using kor::platform::AtomicWriteResult;
using kor::platform::LinkUse;

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

TEST(AtomicFile, OpeningRemovesOnlyWhatKilledSavesOfTheSameUserLeftInTheFolder) {
    kor::test::TempDir dir;
    const std::string stale = ".korsave0123456789ABCDEF.tmp";
    const std::string running = ".korsave0123456789ABCDE0.tmp";
    dir.write(stale, "left by a killed save");
    dir.write(running, "held by a running save");
    const int held = ::open((dir.path() + "/" + running).c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::vector<std::string> others{"kor0123456789ABCDEF.tmp", ".korsave0123456789abcdef.tmp",
                                    ".korsave0123456789ABCDEF.tmp.bak", ".korsave0A1B.tmp"};
    for (const std::string& name : others)
        dir.write(name, "another program's");
    // Another user's leftover is not ours to remove, whatever killed its save.
    if (kor::test::canActAsAnotherUser()) {
        others.push_back(".korsave0123456789ABCDE1.tmp");
        dir.write(others.back(), "another program's");
        ASSERT_EQ(::chown((dir.path() + "/" + others.back()).c_str(), kor::test::kNobody, -1), 0);
    }
    fs::create_directory(dir.path() + "/.korsave0123456789ABCDE2.tmp");
    fs::create_symlink(others[0], dir.path() + "/.korsave0123456789ABCDE3.tmp");

    AtomicFile file;
    ASSERT_EQ(file.open(dir.wide("song.korx")), AtomicWriteResult::Done);
    EXPECT_FALSE(fs::exists(dir.path() + "/" + stale));
    for (const std::string& name : others)
        EXPECT_EQ(dir.read(name), "another program's") << name;
    EXPECT_TRUE(fs::is_directory(dir.path() + "/.korsave0123456789ABCDE2.tmp"));
    EXPECT_TRUE(fs::is_symlink(dir.path() + "/.korsave0123456789ABCDE3.tmp"));
    ::close(held);
    EXPECT_EQ(dir.read(running), "held by a running save");
    EXPECT_EQ(file.commit(), AtomicWriteResult::Done);
    EXPECT_EQ(entries(dir), others.size() + 4);
}

TEST(AtomicFile, ReplacesALinkItMustNotFollow) {
    kor::test::TempDir dir;
    dir.write("other.txt", "someone else's");
    fs::create_symlink("other.txt", dir.path() + "/clap.wav");
    dir.write("song.korx", "the song");
    const auto stageBoth = [&](AtomicFile& clap, AtomicFile& song) {
        ASSERT_EQ(clap.open(dir.wide("clap.wav"), LinkUse::Replace), AtomicWriteResult::Done);
        ASSERT_EQ(song.open(dir.wide("song.korx")), AtomicWriteResult::Done);
        ASSERT_TRUE(clap.write("new clap") && song.write("new song"));
    };
    {
        // The song fails to go in place after the clap did: the link comes back as it was.
        AtomicFile clap;
        AtomicFile song;
        ASSERT_NO_FATAL_FAILURE(stageBoth(clap, song));
        const kor::test::FaultyFileCalls faults({2, false, false, kor::test::FileCall::Rename});
        AtomicFile* const files[] = {&clap, &song};
        EXPECT_EQ(kor::platform::commitTogether(files), 1u);
    }
    EXPECT_EQ(fs::read_symlink(dir.path() + "/clap.wav"), "other.txt");
    EXPECT_EQ(dir.read("song.korx"), "the song");
    EXPECT_EQ(entries(dir), 3u);

    AtomicFile clap;
    AtomicFile song;
    ASSERT_NO_FATAL_FAILURE(stageBoth(clap, song));
    AtomicFile* const files[] = {&clap, &song};
    ASSERT_EQ(kor::platform::commitTogether(files), 2u);
    EXPECT_FALSE(fs::is_symlink(dir.path() + "/clap.wav"));
    EXPECT_EQ(dir.read("clap.wav"), "new clap");
    EXPECT_EQ(dir.read("other.txt"), "someone else's");
    EXPECT_EQ(entries(dir), 3u);
}

// A folder the second user can reach, with a root-only file in a folder of its own: what a
// planted link would aim a save of root's at.
class SharedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (!kor::test::canActAsAnotherUser())
            GTEST_SKIP() << "only the superuser can act as the second user (nobody)";
        fs::permissions(dir.path(), fs::perms(0755));
        fs::create_directory(dir.path() + "/secret");
        fs::permissions(dir.path() + "/secret", fs::perms(0700));
    }
    void folder(const std::string& name, int mode, uid_t owner) const {
        fs::create_directory(dir.path() + "/" + name);
        ASSERT_EQ(::chown((dir.path() + "/" + name).c_str(), owner, owner), 0);
        ASSERT_EQ(::chmod((dir.path() + "/" + name).c_str(), static_cast<mode_t>(mode)), 0);
    }
    void link(const std::string& name, const std::string& to, uid_t owner) const {
        fs::create_symlink(to, dir.path() + "/" + name);
        ASSERT_EQ(::lchown((dir.path() + "/" + name).c_str(), owner, owner), 0);
    }
    struct stat statusOf(const std::string& name) const {
        struct stat status {};
        EXPECT_EQ(::stat((dir.path() + "/" + name).c_str(), &status), 0) << name;
        return status;
    }

    kor::test::TempDir dir;
};

TEST_F(SharedFolder, ASongPathLinkIsFollowedOnlyWhereTheKernelWouldFollowIt) {
    ASSERT_NO_FATAL_FAILURE(folder("sticky", 01777, 0));
    ASSERT_NO_FATAL_FAILURE(folder("nobodys", 01777, kor::test::kNobody));
    ASSERT_NO_FATAL_FAILURE(folder("open", 0777, 0));
    const uid_t nobody = kor::test::kNobody;
    const struct {
        const char* proves;
        const char* path;
        const char* refusedLink; // null: followed to the secret file
    } cases[] = {
        {"a stranger's link in a sticky shared folder is refused", "sticky/planted.korx",
         "sticky/planted.korx"},
        {"the saver's own link there is followed", "sticky/own.korx", nullptr},
        {"a link of the folder's owner is followed", "nobodys/song.korx", nullptr},
        {"a stranger's link in a folder without the sticky bit is followed", "open/song.korx",
         nullptr},
        {"every hop is checked", "sticky/hop.korx", "sticky/planted.korx"},
    };
    ASSERT_NO_FATAL_FAILURE(link("sticky/planted.korx", "../secret/file", nobody));
    ASSERT_NO_FATAL_FAILURE(link("sticky/own.korx", "../secret/file", 0));
    ASSERT_NO_FATAL_FAILURE(link("nobodys/song.korx", "../secret/file", nobody));
    ASSERT_NO_FATAL_FAILURE(link("open/song.korx", "../secret/file", nobody));
    ASSERT_NO_FATAL_FAILURE(link("sticky/hop.korx", "planted.korx", 0));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proves);
        dir.write("secret/file", "root's");
        AtomicFile file;
        const AtomicWriteResult opened = file.open(dir.wide(c.path));
        if (c.refusedLink != nullptr) {
            EXPECT_EQ(opened, AtomicWriteResult::CannotOpen);
            EXPECT_EQ(kor::platform::describe(file.failure()),
                      L"Cannot save " + dir.wide(c.path) + L": Permission denied (the link " +
                          dir.wide(c.refusedLink) +
                          L" lies in a folder anyone may write and belongs to another user).");
            EXPECT_EQ(dir.read("secret/file"), "root's");
            continue;
        }
        ASSERT_EQ(opened, AtomicWriteResult::Done);
        ASSERT_TRUE(file.write(c.path));
        ASSERT_EQ(file.commit(), AtomicWriteResult::Done);
        EXPECT_EQ(dir.read("secret/file"), c.path);
        EXPECT_TRUE(fs::is_symlink(dir.path() + "/" + c.path));
    }
}

TEST_F(SharedFolder, ASavedFileKeepsItsOwnerOrLosesItsSetIdBits) {
    ASSERT_NO_FATAL_FAILURE(folder("open", 0777, 0));
    const uid_t nobody = kor::test::kNobody;
    const struct {
        const char* proves;
        uid_t owner;
        mode_t mode;
        bool savedByNobody;
        uid_t ownerAfter;
        mode_t modeAfter;
    } cases[] = {
        {"root saving a user's file gives it back to the user", nobody, 0640, false, nobody, 0640},
        {"and keeps the set-ID bits of its owner", nobody, 06755, false, nobody, 06755},
        {"a user who cannot give the file back drops the set-ID bits", 0, 06777, true, nobody,
         0777},
        {"a user's own set-ID file stays as it was", nobody, 06755, true, nobody, 06755},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proves);
        const std::string path = dir.path() + "/open/song.korx";
        fs::remove(path);
        fs::remove(dir.path() + "/open/alias.korx");
        dir.write("open/song.korx", "before");
        ASSERT_EQ(::chown(path.c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        fs::create_hard_link(path, dir.path() + "/open/alias.korx");
        const auto save = [&] {
            AtomicFile file;
            return file.open(dir.wide("open/song.korx")) == AtomicWriteResult::Done &&
                   file.write("after") && file.commit() == AtomicWriteResult::Done;
        };
        ASSERT_TRUE(c.savedByNobody ? kor::test::asNobody(save) : save());
        const struct stat after = statusOf("open/song.korx");
        EXPECT_EQ(after.st_uid, c.ownerAfter);
        EXPECT_EQ(after.st_gid, c.ownerAfter);
        EXPECT_EQ(after.st_mode & 07777, c.modeAfter);
        EXPECT_EQ(dir.read("open/song.korx"), "after");
        // The other name of the old file still names the old content.
        EXPECT_EQ(dir.read("open/alias.korx"), "before");
    }
}
