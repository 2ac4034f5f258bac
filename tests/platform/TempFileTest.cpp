#include "platform/TempFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

using kor::platform::createTempFile;
using kor::test::TempDir;

TEST(TempFile, CreatesDistinctFilesNamedPrefixHexTmp) {
    TempDir dir;
    const std::wregex expected(dir.wide() + L"/Kor[0-9A-F]{16}\\.tmp");
    std::set<std::wstring> paths;
    for (int i = 0; i < 50; ++i) {
        std::wstring path;
        const std::error_code error = createTempFile(dir.wide(), L"Kor", path);
        ASSERT_FALSE(error) << error.message();
        EXPECT_TRUE(std::regex_match(path, expected));
        EXPECT_TRUE(std::filesystem::exists(std::string(path.begin(), path.end())));
        paths.insert(path);
    }
    EXPECT_EQ(paths.size(), 50u);
}
