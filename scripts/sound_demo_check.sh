#!/usr/bin/env bash
# sound_demo_check.sh [build-dir]: runs the sound demo for 3 s with SDL's disk audio
# driver and checks the captured mix with sox: length about 3 s, not silent, and the
# music's 440 Hz as the peak frequency (the 1760 Hz effect above 1 kHz at the start).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" "$build/tools/sound_demo" 3 2>/dev/null
raw=(-t raw -r 44100 -e signed -b 16 -c 2 out.raw -n)
length=$(sox "${raw[@]}" stat 2>&1 | awk '/Length/ {print $3}')
peak=$(sox "${raw[@]}" stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
spectrum_peak() {  # [trim start length] [lowest frequency]
  sox "${raw[@]}" remix 1 trim "$1" "$2" stat -freq 2>&1 |
    awk -v low="$3" 'NF == 2 && $1 + 0 > low {if ($2 > m) {m = $2; f = $1}} END {print f}'
}
music=$(spectrum_peak 1 1 0)
effect=$(spectrum_peak 0 0.3 1000)
echo "length ${length} s, maximum amplitude ${peak}, peak ${music} Hz, effect ${effect} Hz"
awk -v l="$length" -v p="$peak" -v m="$music" -v e="$effect" 'BEGIN {
  ok = l > 2.5 && l < 3.5 && p > 0.1 && m > 430 && m < 450 && e > 1700 && e < 1820
  print ok ? "sound demo: ok" : "sound demo: FAILED"
  exit !ok
}'
