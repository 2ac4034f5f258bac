#include "platform/MulDiv.h"

#include <gtest/gtest.h>

#include <climits>

using kor::platform::mulDiv;

TEST(MulDiv, RoundsHalfAwayFromZero) {
    EXPECT_EQ(mulDiv(7, 1, 2), 4);
    EXPECT_EQ(mulDiv(-7, 1, 2), -4);
    EXPECT_EQ(mulDiv(7, -1, -2), 4);
    EXPECT_EQ(mulDiv(10, 1, 3), 3);
    EXPECT_EQ(mulDiv(-11, 1, 3), -4);
}

TEST(MulDiv, KeepsTheWideProductAndFailsOutsideInt) {
    EXPECT_EQ(mulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(mulDiv(INT_MIN, INT_MIN, INT_MIN), INT_MIN);
    EXPECT_EQ(mulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(mulDiv(INT_MIN, 1, -1), -1);
    EXPECT_EQ(mulDiv(5, 5, 0), -1);
}
