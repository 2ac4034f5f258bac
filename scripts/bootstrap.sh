#!/usr/bin/env bash
# Installs the Debian packages korman needs to build, test and benchmark (with "--fuzz" also to
# fuzz, with "--check" also what scripts/check.sh runs); quiet and quick when all are there.
# With "--samples midi|wav DIR" it only unpacks real files made by others into DIR (when DIR is
# missing), for the tests and benchmarks of the readers: the songs of Debian's openttd-openmsx
# package (MIDI), or the sounds of its ltris and alsa-utils packages (WAV). They are never
# committed; without network the tests that use them skip.
set -euo pipefail

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# fetch_samples DEST PATTERN PACKAGE...: the files matching PATTERN in the packages, flat in DEST.
fetch_samples() {
  local dest=$1 pattern=$2 work
  shift 2
  [ -d "$dest" ] && return 0
  work=$(mktemp -d)
  # apt hands downloads to its own unprivileged user, which must be able to write here.
  chmod a+rwx "$work"
  if ! (cd "$work" && timeout 300 apt-get download -qq "$@" >/dev/null 2>&1); then
    # A machine whose package lists were never read knows no such package yet.
    $sudo apt-get update -qq >/dev/null 2>&1 || true
    if ! (cd "$work" && timeout 300 apt-get download -qq "$@" >/dev/null 2>&1); then
      echo "bootstrap: could not download $*; the tests on real files will skip" >&2
      rm -rf "$work"
      return 1
    fi
  fi
  for deb in "$work"/*.deb; do dpkg -x "$deb" "$work/unpacked"; done
  mkdir -p "$work/samples"
  find "$work/unpacked" -name "$pattern" -exec cp {} "$work/samples" \;
  mkdir -p "$(dirname "$dest")"
  mv "$work/samples" "$dest"
  rm -rf "$work"
  echo "bootstrap: unpacked $(ls "$dest" | wc -l) files of $* into $dest"
}

if [ "${1:-}" = "--samples" ]; then
  dest=${3:?usage: bootstrap.sh --samples midi|wav DIR}
  case "$2" in
    midi) fetch_samples "$dest" '*.mid' openttd-openmsx ;;
    wav) fetch_samples "$dest" '*.wav' ltris alsa-utils ;;
    *) echo "usage: bootstrap.sh --samples midi|wav DIR" >&2; exit 2 ;;
  esac
  exit $?
fi

packages=(build-essential cmake ninja-build pkg-config clang-format libxerces-c-dev libzip-dev
          libgtest-dev libgmock-dev libbenchmark-dev pybind11-dev python3-dev python3-pytest)
# "--fuzz": also clang with its sanitizer and libFuzzer runtimes, for the fuzz targets.
# "--check": also valgrind, for the slow checks that fuzz as well.
case "${1:-}" in
  --fuzz) packages+=(clang libclang-rt-dev) ;;
  --check) packages+=(clang libclang-rt-dev valgrind) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
