#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the
# whole suite again under the address and undefined-behaviour sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
jobs=$(nproc)

bash scripts/build.sh build
(cd build && ctest --output-on-failure -j "$jobs")

bash scripts/build.sh build-sanitize -DVANTOREL_SANITIZE=ON -DVANTOREL_BENCH=OFF
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")

bash scripts/fuzz.sh 15
