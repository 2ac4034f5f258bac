#include "platform/AppData.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using kor::platform::localAppDataFolder;
using kor::test::TempDir;

namespace {

// Sets (or with null unsets) an environment variable until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(AppData, PrefersAbsoluteXdgDataHomeOverHome) {
    TempDir dir;
    ScopedEnv home("HOME", dir.path().c_str());
    {
        ScopedEnv xdg("XDG_DATA_HOME", (dir.path() + "/data").c_str());
        EXPECT_EQ(localAppDataFolder(), dir.wide("data"));
        EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/data"));
    }
    for (const char* unusable : {"", "relative/data", static_cast<const char*>(nullptr)}) {
        ScopedEnv xdg("XDG_DATA_HOME", unusable);
        EXPECT_EQ(localAppDataFolder(), dir.wide(".local/share"))
            << (unusable ? unusable : "unset");
    }
}
