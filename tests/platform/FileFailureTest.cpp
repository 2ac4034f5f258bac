#include "platform/FileFailure.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>

using kor::platform::describe;
using kor::platform::folderFailure;
using kor::platform::readFailure;

TEST(FileFailure, TellsWhyAFileCannotBeReadOrMade) {
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
    // A bare file name lives in the working folder, which a hint names as such.
    EXPECT_EQ(describe(folderFailure(L"save", L"song.korx", EACCES, "")),
              L"Cannot save song.korx: Permission denied (the folder . is not writable).");
}
