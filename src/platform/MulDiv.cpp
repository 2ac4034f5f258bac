#include "platform/MulDiv.h"

#include <cstdint>
#include <limits>

namespace kor::platform {

int mulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = std::int64_t{a} * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    // Division truncates toward zero; a remainder of at least half the divisor moves the result
    // one further from zero, in the direction of the true quotient's sign.
    const std::int64_t divisor = c;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (divisor < 0 ? -divisor : divisor))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(quotient);
}

} // namespace kor::platform
