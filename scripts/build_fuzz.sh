#!/usr/bin/env bash
# build_fuzz.sh: builds the libFuzzer targets with clang into build-fuzz/ (the targets
# only: the game program, the tools and the demos are not fuzzed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$root/build-fuzz" \
  -DVANTOREL_FUZZ=ON -DVANTOREL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo --target tests/fuzz/all
