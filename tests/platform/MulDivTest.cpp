#include "platform/MulDiv.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

using kor::platform::mulDiv;

TEST(MulDiv, RoundsHalfAwayFromZeroKeepsTheWideProductAndFailsOutsideInt) {
    const std::tuple<int, int, int, int> rows[] = {
        {7, 1, 2, 4},
        {-7, 1, 2, -4},
        {7, -1, -2, 4},
        {10, 1, 3, 3},
        {-11, 1, 3, -4},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
        {INT_MAX, 2, 1, -1},
        {INT_MIN, 1, -1, -1},
        {5, 5, 0, -1}, // -1 reports failure
    };
    for (auto [number, numerator, denominator, result] : rows)
        EXPECT_EQ(mulDiv(number, numerator, denominator), result)
            << number << " * " << numerator << " / " << denominator;
}
