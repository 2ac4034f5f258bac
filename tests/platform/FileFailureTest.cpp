#include "platform/FileFailure.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>

using kor::platform::describe;
using kor::platform::folderFailure;
using kor::platform::readFailure;

TEST(FileFailure, NamesTheFolderAtFaultWhenAFileCannotBeMade) {
    kor::test::TempDir dir;
    dir.write("notes.txt", "");
    const std::wstring missing = dir.wide("missing/song.korx");
    EXPECT_EQ(describe(folderFailure(L"save", missing, ENOENT, dir.path() + "/missing")),
              L"Cannot save " + missing + L": No such file or directory (the folder " +
                  dir.wide("missing") + L" does not exist).");
    const std::wstring below = dir.wide("notes.txt/sub/song.korx");
    EXPECT_EQ(describe(folderFailure(L"save", below, ENOTDIR, dir.path() + "/notes.txt/sub")),
              L"Cannot save " + below + L": Not a directory (" + dir.wide("notes.txt") +
                  L" is a file, not a folder).");
    const std::wstring song = dir.wide("song.korx");
    EXPECT_EQ(describe(folderFailure(L"save", song, EACCES, dir.path())),
              L"Cannot save " + song + L": Permission denied (the folder " + dir.wide() +
                  L" is not writable).");
    // Where the reason says it all, no hint is added; a bare name lives in the working folder.
    EXPECT_EQ(describe(folderFailure(L"save", song, ENOSPC, dir.path())),
              L"Cannot save " + song + L": No space left on device.");
    EXPECT_EQ(describe(folderFailure(L"save", L"song.korx", EACCES, "")),
              L"Cannot save song.korx: Permission denied (the folder . is not writable).");
}

TEST(FileFailure, TellsWhyAFileCannotBeRead) {
    kor::test::TempDir dir;
    dir.write("song.korx", "<kor3/>");
    ASSERT_EQ(::mkfifo((dir.path() + "/pipe").c_str(), 0600), 0);
    EXPECT_FALSE(readFailure(dir.wide("song.korx")).failed());

    const struct {
        std::wstring path;
        std::wstring why;
    } cases[] = {
        {dir.wide("other.korx"), L": No such file or directory."},
        {dir.wide("gone/song.korx"),
         L": No such file or directory (the folder " + dir.wide("gone") + L" does not exist)."},
        {dir.wide("song.korx/x.korx"),
         L": Not a directory (" + dir.wide("song.korx") + L" is a file, not a folder)."},
        {dir.wide(), L": Is a directory."},
        {dir.wide("pipe"), L": it is no plain file."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(readFailure(c.path)), L"Cannot open " + c.path + c.why);
    EXPECT_EQ(describe(readFailure(L"")), L"Cannot open a file: no path was given.");
}
