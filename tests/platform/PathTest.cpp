#include "platform/Path.h"

#include <gtest/gtest.h>

using namespace kor::platform;

TEST(Path, SplitsAtEitherSeparator) {
    EXPECT_EQ(folderPart(L"/home/u\\D:\\songs/a.korx"), L"/home/u\\D:\\songs");
    EXPECT_EQ(folderPart(L"/a.korx"), L"/");
    EXPECT_EQ(folderPart(L"a.korx"), L"");
    EXPECT_EQ(fileNamePart(L"x/y\\a.korx"), L"a.korx");
    EXPECT_EQ(extensionPart(L"/s/a.b.korx"), L".korx");
    EXPECT_EQ(withoutExtension(L"D:\\songs.v2\\a.korx"), L"D:\\songs.v2\\a");
    EXPECT_EQ(withoutExtension(L"/songs.v2/a"), L"/songs.v2/a") << "a folder's dot is no extension";
    EXPECT_EQ(joinPath(L"/tmp/", L"a"), L"/tmp/a");
    EXPECT_EQ(joinPath(L"", L"a"), L"a");
}
