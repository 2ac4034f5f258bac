#include "platform/DynamicModule.h"

#include <gtest/gtest.h>

#include <utility>

using kor::platform::DynamicModule;

namespace {

const std::string kModule = KOR_TEST_MODULE_PATH;
const std::wstring kModulePath(kModule.begin(), kModule.end());

} // namespace

TEST(DynamicModule, CallsAnEntryPointAfterAMove) {
    DynamicModule module;
    ASSERT_TRUE(module.open(kModulePath)) << module.error();
    DynamicModule moved = std::move(module);
    EXPECT_FALSE(module.isOpen());
    auto* answer = moved.entryPointAs<int()>("kor_test_answer");
    ASSERT_NE(answer, nullptr) << moved.error();
    EXPECT_EQ(answer(), 42);
}

TEST(DynamicModule, ExplainsWhatIsMissing) {
    DynamicModule module;
    EXPECT_FALSE(module.open(L"/nonexistent/libnothing.so"));
    EXPECT_NE(module.error().find("libnothing.so"), std::string::npos) << module.error();
    EXPECT_EQ(module.entryPoint("kor_test_answer"), nullptr);

    ASSERT_TRUE(module.open(kModulePath)) << module.error();
    EXPECT_EQ(module.entryPoint("kor_no_such_entry"), nullptr);
    EXPECT_NE(module.error().find("kor_no_such_entry"), std::string::npos) << module.error();
}
