#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for SECONDS seconds, one after
# the other. Usage: scripts/fuzz.sh SECONDS [TARGET...] (default: every fuzz_* target).
# The corpus grows in build/fuzz/corpus/<target>, seeded by the test builders and tests/data;
# findings (crash-*, leak-*, timeout-*, oom-*) land in build/fuzz/findings/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift

scripts/bootstrap.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
corpus=$build/corpus
"$build/bin/korman_fuzz_seeds" "$corpus"
# The song files of tests/data seed the fuzzer of their format (tests/data/kor3 -> fuzz_kor3);
# they and the demo's songs of every kind also seed the manager's fuzzer.
mkdir -p "$corpus/manager"
for folder in tests/data/kor3/ tests/data/kor4/; do
  format=$(basename "$folder")
  mkdir -p "$corpus/$format"
  cp "$folder"* "$corpus/$format/"
  for file in "$folder"*; do cp "$file" "$corpus/manager/$format-$(basename "$file")"; done
done
cp samples/*.kor samples/*.korx samples/*.mid "$corpus/manager/"
# The real scores, when they are beside the clone, seed the MusicXML fuzzer.
scores=../shared/testdata/musicxml
mkdir -p "$corpus/musicxml"
if [ -d "$scores" ]; then
  cp "$scores"/lilypond-suite/*.xml "$scores"/bach/*.mxl "$corpus/musicxml/"
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/bin/fuzz_*; do targets+=("$(basename "$exe" | sed 's/^fuzz_//')"); done
fi

status=0
for target in "${targets[@]}"; do
  findings=$build/findings/$target
  mkdir -p "$corpus/$target" "$findings"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "fuzz: $target for ${seconds}s"
  if ! "$build/bin/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$corpus/$target" 2>"$findings/log.txt"; then
    echo "fuzz: $target found a problem: see $findings" >&2
    tail -40 "$findings/log.txt" >&2
    status=1
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added)' "$findings/log.txt" || true
done
exit $status
