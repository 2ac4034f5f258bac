// Scaling an integer by a ratio without intermediate overflow, as tick conversions need.
#pragma once

namespace kor::platform {

/// a × b ÷ c, with the product taken in 64 bits and the quotient rounded half away from zero
/// (7 × 1 ÷ 2 gives 4, -7 × 1 ÷ 2 gives -4). -1 when c is 0 or the result does not fit in an int;
/// a true result of -1 looks the same, so callers that can meet it check their inputs first.
int mulDiv(int a, int b, int c);

} // namespace kor::platform
