#!/usr/bin/env bash
# The demos leave the folder they run in as it was: pictures go only where --out says,
# logs and generated inputs into a temporary folder. Their lock files go to a /tmp of the
# test's own (with_private_temporary, the second argument).
set -uo pipefail
tools=$1
private=$2
here=$(mktemp -d)
out=$(mktemp -d)
locks=$(mktemp -d)
trap 'rm -rf "$here" "$out" "$locks"' EXIT
cd "$here"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
demo() { "$private" "$locks" "$out" -- "$tools/$@"; }
demo graphics_demo --out "$out/graphics.bmp" >/dev/null || { echo "FAIL: graphics_demo"; exit 1; }
demo text_demo --out ../$(basename "$out")/text.bmp >/dev/null || { echo "FAIL: text_demo"; exit 1; }
demo movie_demo --at 0 --out "$out/movie.bmp" >/dev/null || { echo "FAIL: movie_demo"; exit 1; }
demo sound_demo 1 >/dev/null 2>&1 || { echo "FAIL: sound_demo"; exit 1; }
demo window_demo 1 >/dev/null || { echo "FAIL: window_demo"; exit 1; }
for picture in graphics text movie; do
  [[ -s "$out/$picture.bmp" ]] || { echo "FAIL: no $picture.bmp where --out said"; exit 1; }
done
left=$(ls -A "$here")
[[ -z "$left" ]] || { echo "FAIL: the demos left $left in their working folder"; exit 1; }
echo ok
