#!/usr/bin/env bash
# Builds the optimised library and runs the benchmarks; extra arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release --target korman_bench
build/release/bin/korman_bench "$@"
