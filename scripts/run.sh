#!/usr/bin/env bash
# Installs what is missing, builds the game and the data generator (no test or
# benchmark: scripts/test.sh builds those), generates the placeholder data folder
# (again only when the generator changed) and starts the game in run/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build --target vantorel make_game_data
mkdir -p run
generator=build/tools/make_game_data
if [[ ! -d run/data || ! -f run/data/.generated || $generator -nt run/data/.generated ]]; then
  "$generator" run
  touch run/data/.generated
fi
cd run
exec ../build/game/vantorel
