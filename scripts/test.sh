#!/usr/bin/env bash
# Checks the formatting of the tracked sources, then builds korman under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
