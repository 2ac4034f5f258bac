#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace kor::platform;
using kor::test::TempDir;

TEST(FileSystem, CopiesAndDeletesOnlyWhatIsAllowed) {
    TempDir dir;
    dir.write("a.wav", "new");
    dir.write("b.wav", "old");
    EXPECT_FALSE(copyFile(dir.wide("a.wav"), dir.wide("b.wav"), false));
    ASSERT_TRUE(setReadOnly(dir.wide("b.wav"), true));
    EXPECT_TRUE(fileAttributes(dir.wide("b.wav")).value_or(FileAttributes{}).readOnly);
    EXPECT_FALSE(copyFile(dir.wide("a.wav"), dir.wide("b.wav"), true));
    EXPECT_FALSE(deleteFile(dir.wide("b.wav")));
    EXPECT_EQ(dir.read("b.wav"), "old");

    ASSERT_TRUE(setReadOnly(dir.wide("b.wav"), false));
    EXPECT_TRUE(copyFile(dir.wide("a.wav"), dir.wide("b.wav"), true));
    EXPECT_EQ(dir.read("b.wav"), "new");
    EXPECT_TRUE(deleteFile(dir.wide("b.wav")));
    EXPECT_EQ(fileAttributes(dir.wide("b.wav")), std::nullopt);
    EXPECT_FALSE(deleteFile(dir.wide("b.wav")));
}

TEST(FileSystem, DirectoriesAreCreatedOnceAndRemovedWhole) {
    TempDir dir;
    const std::wstring parts = dir.wide("a.wavparts");
    ASSERT_TRUE(createDirectory(parts));
    EXPECT_FALSE(createDirectory(parts));
    EXPECT_FALSE(createDirectory(dir.wide("no/parent")));
    EXPECT_TRUE(fileAttributes(parts).value_or(FileAttributes{}).directory);
    EXPECT_FALSE(deleteFile(parts));

    ASSERT_TRUE(createDirectory(parts + L"/sub"));
    dir.write("a.wavparts/sub/1.wav", "x");
    ASSERT_TRUE(setReadOnly(parts + L"/sub/1.wav", true));
    EXPECT_TRUE(removeTree(parts));
    EXPECT_EQ(fileAttributes(parts), std::nullopt);
    EXPECT_TRUE(removeTree(parts)) << "nothing to remove is success";
}

TEST(FileSystem, FindsEntriesByWildcard) {
    TempDir dir;
    dir.write("Kor1A2B.tmp", "");
    EXPECT_TRUE(anyEntryMatches(dir.wide(), L"Kor????.tmp"));
    EXPECT_FALSE(anyEntryMatches(dir.wide(), L"Kor???.tmp"));
    EXPECT_FALSE(anyEntryMatches(dir.wide(), L"*.TMP"));
    EXPECT_FALSE(anyEntryMatches(dir.wide("missing"), L"*"));

    EXPECT_TRUE(matchesWildcard(L"abcabd", L"*ab?"));
    EXPECT_TRUE(matchesWildcard(L"noext", L"*.*"));
    EXPECT_TRUE(matchesWildcard(L"", L"*"));
    EXPECT_FALSE(matchesWildcard(L"abc", L"a*d"));
    EXPECT_FALSE(matchesWildcard(L"ab", L"ab?"));
}
