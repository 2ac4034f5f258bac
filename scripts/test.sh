#!/usr/bin/env bash
# Builds korman under AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
