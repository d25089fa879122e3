#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under the address and
# undefined-behaviour sanitizers, then a short run of every fuzz target. Ends with one
# summary line of the test counts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
jobs=$(nproc)
summary=$(mktemp)
logs=$(mktemp -d)
background=()
# A build still going in the background when the script ends (a failed suite) ends too.
trap 'for pgid in "${background[@]}"; do kill -- "-$pgid" 2>/dev/null || true; done; rm -rf "$summary" "$logs"' EXIT

# run_suite DIR: runs ctest in DIR, keeping its pass/fail counts for the summary. A test
# runs on each core, so each draws its frames with two threads: the tiles are still drawn
# side by side, and the cores are not shared out among eight times as many threads.
run_suite() {
  (cd "$1" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 VANTOREL_DRAW_THREADS=2 \
     ctest --output-on-failure -j "$jobs") | tee -a "$summary"
}

# build_behind NAME COMMAND...: the build in the background, at the lowest priority: it
# takes only the processors that the work in the foreground leaves idle (all of them
# once it ends).
# It runs in a process group of its own (to be ended as one) but in this session: the
# scheduler weighs priorities only within a session.
build_behind() {
  local name=$1
  shift
  set -m
  nice -n 19 "$@" >"$logs/$name" 2>&1 &
  set +m
  background+=("$!")
}

# joined NAME: waits for the build started last, then shows its output.
joined() {
  local status=0
  wait "${background[-1]}" || status=$?
  unset 'background[-1]'
  cat "$logs/$1"
  return "$status"
}

# Every test runs once, in the sanitizer build, where a memory error it reaches is
# reported. The normal build (the program scripts/run.sh starts, the benchmarks) is made
# behind the sanitizer build, and the fuzz targets behind the tests.
build_behind normal bash scripts/build.sh build
bash scripts/build.sh build-sanitize -DVANTOREL_SANITIZE=ON -DVANTOREL_BENCH=OFF
build_behind fuzz bash scripts/build_fuzz.sh
run_suite build-sanitize
joined fuzz
joined normal

bash scripts/fuzz.sh 8

# ctest's "N tests failed out of M", as the summary.
awk '/tests failed out of/ { failed += $4; total += $NF }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$summary"
