#!/usr/bin/env bash
# The main job on the bundled samples: builds the release preset, converts each sample song
# (MIDI, legacy, KOR3) to a KOR3 song with kortool, prints a summary, draws a piano roll and
# writes the KOR3 sample back out as a MIDI file for sequencers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kortool korvoicedb

kortool=build/release/bin/kortool
out=build/demo
mkdir -p "$out"
for sample in samples/morning-walk.mid samples/morning-walk.kor samples/morning-walk.korx; do
  "$kortool" convert "$sample" "$out/$(basename "$sample").korx"
done
echo
"$kortool" info "$out/morning-walk.mid.korx"
echo
"$kortool" render "$out/morning-walk.mid.korx" "$out/morning-walk.svg"
echo
"$kortool" convert samples/morning-walk.korx "$out/morning-walk.korx.mid"
echo
echo "Outputs in $out/:"
echo "  morning-walk.{mid,kor,korx}.korx  the samples converted to KOR3 songs"
echo "  morning-walk.svg                  the MIDI sample's song as a piano roll"
echo "  morning-walk.korx.mid             the KOR3 sample as a MIDI file (notes, lyrics, curves)"
