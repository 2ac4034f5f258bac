// A test-only replacement of the global allocation functions that can make one allocation fail.
#pragma once

#include <cstdint>

namespace kor::test {

/// Makes the `n`-th allocation from now (1: the next one) fail: `new` throws std::bad_alloc and
/// the non-throwing forms answer null. The allocations after it succeed again. 0 turns the
/// failure off; it is off when the tests start.
void failAllocation(std::uint64_t n);
/// Whether the allocation that the last failAllocation(n), n > 0, chose has failed.
bool allocationFailed();

} // namespace kor::test
