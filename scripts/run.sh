#!/usr/bin/env bash
# Installs what is missing, builds, and starts the library demo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build
mkdir -p run
cd run
exec ../build/tools/library_demo "$@"
