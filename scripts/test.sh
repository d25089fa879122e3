#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the
# whole suite again under the address and undefined-behaviour sanitizers, then a short
# run of every fuzz target. Ends with one summary line of all test counts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
jobs=$(nproc)
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

# run_suite DIR: runs ctest in DIR, keeping its pass/fail counts for the summary.
run_suite() {
  (cd "$1" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j "$jobs") | tee -a "$summary"
}

bash scripts/build.sh build
run_suite build

bash scripts/build.sh build-sanitize -DVANTOREL_SANITIZE=ON -DVANTOREL_BENCH=OFF
run_suite build-sanitize

bash scripts/fuzz.sh 8

# "N tests failed out of M" lines of both suites, added up.
awk '/tests failed out of/ { failed += $4; total += $NF }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$summary"
