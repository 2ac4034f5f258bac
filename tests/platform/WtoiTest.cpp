#include "platform/Wtoi.h"

#include <gtest/gtest.h>

#include <climits>

using kor::wtoi;

TEST(Wtoi, ReadsTheLeadingNumber) {
    EXPECT_EQ(wtoi(L" \t\r\n-12"), -12);
    EXPECT_EQ(wtoi(L"+64ticks"), 64);
    EXPECT_EQ(wtoi(L"3.9"), 3);
    EXPECT_EQ(wtoi(L"- 5"), 0);
    EXPECT_EQ(wtoi(L"\uFF11"), 0) << "full-width digits are not digits";
    EXPECT_EQ(wtoi(L""), 0);
    EXPECT_EQ(wtoi(nullptr), 0);
}

TEST(Wtoi, ClampsValuesOutsideInt) {
    EXPECT_EQ(wtoi(L"-2147483648"), INT_MIN);
    EXPECT_EQ(wtoi(L"2147483648"), INT_MAX);
    EXPECT_EQ(wtoi(L"-99999999999999999999"), INT_MIN);
}
