#!/usr/bin/env bash
# The slow checks in one place, each run even when one before it failed:
#   1. the whole test suite under valgrind memcheck, on the debug preset (no sanitizers): no
#      memory error and no leak;
#   2. the thread tests of the tsan preset (the stress test and the suites of the locks);
#   3. every fuzzer for 60 seconds (scripts/fuzz.sh 60).
# Exits non-zero when any of them fails. Usage: scripts/check.sh [valgrind|tsan|fuzz...]
# (default: all three). KORMAN_JOBS (default 2) bounds the build jobs and the valgrind shards.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh --check || exit 1
jobs=${KORMAN_JOBS:-2}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Left out under valgrind, being far too slow there and timed against limits it would break;
# the sanitizer runs of scripts/test.sh keep them: the load of a million notes, the legacy song of
# a million lines and the MIDI file of 65535 tracks.
slow='Kor3Parser.ReadsAMillionNotesInBoundedTimeAndMemory'
slow+=':LegacyConverterTest.HostileSizesAreRefusedOrReadInBoundedTime'
slow+=':MidiSequence.WalksTheMostTracksAFileCanDeclareInBoundedTime'

check_valgrind() {
  cmake --preset debug "${launcher[@]}" >/dev/null &&
    cmake --build --preset debug -j "$jobs" --target korman_tests || return 1
  local logs=build/debug/valgrind pids=() status=0
  mkdir -p "$logs"
  rm -f "$logs"/*
  # gtest shards run side by side, one valgrind each; the programs the tests start (kortool)
  # are checked too, each into a log of its own.
  for ((shard = 0; shard < jobs; ++shard)); do
    GTEST_TOTAL_SHARDS=$jobs GTEST_SHARD_INDEX=$shard \
      valgrind --tool=memcheck --leak-check=full --error-exitcode=1 --track-origins=yes \
      --suppressions="$PWD/scripts/valgrind.supp" \
      --trace-children=yes --log-file="$logs/shard-$shard-%p.txt" \
      build/debug/bin/korman_tests --gtest_filter="-$slow" --gtest_brief=1 \
      >"$logs/shard-$shard.out" 2>&1 &
    pids+=($!)
  done
  for ((shard = 0; shard < jobs; ++shard)); do
    if ! wait "${pids[$shard]}"; then
      echo "check: valgrind shard $shard failed: see $logs/shard-$shard*" >&2
      grep -E 'ERROR SUMMARY: [1-9]|definitely lost|indirectly lost|possibly lost|FAILED' \
        "$logs/shard-$shard"* >&2
      status=1
    fi
  done
  return $status
}

check_tsan() {
  cmake --preset tsan "${launcher[@]}" >/dev/null &&
    cmake --build --preset tsan -j "$jobs" &&
    ctest --preset tsan
}

check_fuzz() {
  cmake --preset fuzz "${launcher[@]}" >/dev/null &&
    cmake --build --preset fuzz -j "$jobs" &&
    scripts/fuzz.sh 60
}

checks=("$@")
[ ${#checks[@]} -eq 0 ] && checks=(valgrind tsan fuzz)
failed=()
for check in "${checks[@]}"; do
  case "$check" in
    valgrind | tsan | fuzz) ;;
    *) echo "usage: scripts/check.sh [valgrind|tsan|fuzz...]" >&2; exit 2 ;;
  esac
  echo "check: $check"
  "check_$check" || failed+=("$check")
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "check: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "check: all passed (${checks[*]})"
