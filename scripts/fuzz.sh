#!/usr/bin/env bash
# fuzz.sh [seconds]: builds the libFuzzer targets with clang and runs each for a while.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
dir="$root/build-fuzz"
CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$dir" \
  -DVANTOREL_FUZZ=ON -DVANTOREL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Any sanitizer report ends the run as a failure, undefined behaviour included (the
# targets are also built with -fno-sanitize-recover=all).
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
shopt -s nullglob
for target in "$dir"/tests/fuzz/*_fuzz; do
  name=$(basename "$target")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  # Checked-in seed files for a target live in tests/fuzz/seeds/<name without _fuzz>.
  seeds=()
  [[ -d "$root/tests/fuzz/seeds/${name%_fuzz}" ]] && seeds=("$root/tests/fuzz/seeds/${name%_fuzz}")
  echo "fuzz: $name for ${seconds}s"
  # Paths are absolute: the targets of the game's files work in a folder of their own.
  (cd "$dir" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
     -artifact_prefix="$dir/" -print_final_stats=0 "$corpus" "${seeds[@]}" >"$dir/$name.log" 2>&1) ||
    { tail -50 "$dir/$name.log"; exit 1; }
done
