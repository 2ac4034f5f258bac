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
    const std::wregex expected(dir.wide() + L"/Kor[0-9A-F]{4}\\.tmp");
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

TEST(TempFile, ReportsWhyTheFolderIsUnusable) {
    TempDir dir;
    dir.write("file", "");
    std::wstring path = L"unchanged";
    EXPECT_EQ(createTempFile(dir.wide("missing"), L"Kor", path),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(createTempFile(dir.wide("file"), L"Kor", path), std::errc::not_a_directory);
    EXPECT_EQ(path, L"unchanged");

    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const bool permissionsIgnored = ::access(dir.path().c_str(), W_OK) == 0;
    const std::error_code error = createTempFile(dir.wide(), L"Kor", path);
    ::chmod(dir.path().c_str(), 0755);
    if (!permissionsIgnored) { // an administrator may write anywhere
        EXPECT_EQ(error, std::errc::permission_denied);
    }
}
