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
trap 'rm -f "$summary"' EXIT

# One step at a time, each on every core: work run behind other work on the same cores
# (a build behind the tests) cost more processor time than the two one after the other.
# The normal build makes the program scripts/run.sh starts, the tools and demos, and
# the benchmarks; the tests run once, in the sanitizer build, where a memory error any
# of them reaches is reported.
bash scripts/build.sh build -DVANTOREL_BENCH=ON --target game/all tools/all bench/all
bash scripts/build.sh build-sanitize -DVANTOREL_SANITIZE=ON -DVANTOREL_BENCH=OFF
# A test runs on each core, so each draws its frames with two threads: the tiles are
# still drawn side by side, and the cores are not shared out among eight times as many
# threads. The tests run with a /tmp and /run/user of their own, which nothing of theirs
# may outlast: the machine's /tmp never sees their files, and a test that leaves one (a
# lock folder, a scratch folder) fails the command.
temporary="$root/build-sanitize/tests-temporary"
rm -rf "$temporary"
status=0
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 VANTOREL_DRAW_THREADS=2 \
   tests/with_private_temporary "$temporary" -- "$(command -v ctest)" --output-on-failure -j "$jobs") |
  tee "$summary" || status=$?
# The clone's own path, where it lies under /tmp, is kept for the tests at its place.
clone=$(realpath build-sanitize)
kept=${clone#/tmp/}
[[ $kept == "$clone" ]] && kept="" || kept=${kept%%/*}
left=$(cd "$temporary" && find tmp run-user -mindepth 1 -maxdepth 1 ! -name "$kept" | tr '\n' ' ')
rm -rf "$temporary"
if [[ -n $left ]]; then
  echo "test.sh: the tests left in /tmp or /run/user: $left" >&2
  exit 1
fi
((status == 0)) || exit "$status"

bash scripts/fuzz.sh 8

# ctest's "N tests failed out of M", as the summary.
awk '/tests failed out of/ { printf "tests: %d passed, %d failed\n", $NF - $4, $4 }' "$summary"
