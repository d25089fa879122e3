#!/usr/bin/env bash
# build.sh DIR [cmake options...] [--target NAME...]: configures (once) and builds into
# DIR; every target unless some are named after --target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
options=()
while (($#)) && [[ $1 != --target ]]; do options+=("$1"); shift; done
jobs=$(nproc)
cmake -S "$root" -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" -j "$jobs" "$@"
