#!/usr/bin/env bash
# Installs the Debian packages korman needs to build, test and benchmark; quiet and quick when all are there.
# With "--midi-samples DIR" it only unpacks the songs of Debian's openttd-openmsx package into DIR
# (when DIR is missing), real MIDI files made by others for the MIDI reader's tests and benchmark.
set -euo pipefail

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

fetch_midi_samples() {
  local dest=$1 work
  [ -d "$dest" ] && return 0
  work=$(mktemp -d)
  # apt hands downloads to its own unprivileged user, which must be able to write here.
  chmod a+rwx "$work"
  if ! (cd "$work" && timeout 300 apt-get download -qq openttd-openmsx >/dev/null 2>&1); then
    # A machine whose package lists were never read knows no such package yet.
    $sudo apt-get update -qq >/dev/null 2>&1 || true
    if ! (cd "$work" && timeout 300 apt-get download -qq openttd-openmsx >/dev/null 2>&1); then
      echo "bootstrap: could not download openttd-openmsx; the tests on real MIDI files will skip" >&2
      rm -rf "$work"
      return 1
    fi
  fi
  dpkg -x "$work"/openttd-openmsx_*.deb "$work/unpacked"
  mkdir -p "$work/songs"
  find "$work/unpacked" -name '*.mid' -exec cp {} "$work/songs" \;
  mkdir -p "$(dirname "$dest")"
  mv "$work/songs" "$dest"
  rm -rf "$work"
  echo "bootstrap: unpacked $(ls "$dest" | wc -l) MIDI songs into $dest"
}

if [ "${1:-}" = "--midi-samples" ]; then
  fetch_midi_samples "${2:?usage: bootstrap.sh --midi-samples DIR}"
  exit $?
fi

packages=(build-essential cmake ninja-build libxerces-c-dev
          libgtest-dev libgmock-dev libbenchmark-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
