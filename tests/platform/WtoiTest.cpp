#include "platform/Wtoi.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

using kor::wtoi;

TEST(Wtoi, ReadsTheLeadingNumberAndClampsToInt) {
    const std::pair<const wchar_t*, int> rows[] = {
        {L" \t\r\n-12", -12},
        {L"+64ticks", 64},
        {L"3.9", 3},
        {L"- 5", 0},
        {L"\uFF11", 0}, // full-width digits are not digits
        {L"", 0},
        {nullptr, 0},
        {L"-2147483648", INT_MIN},
        {L"2147483648", INT_MAX},
        {L"-99999999999999999999", INT_MIN},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(wtoi(text), value) << (text ? testing::PrintToString(text) : "null");
}
