#!/usr/bin/env bash
# fuzz.sh [seconds]: builds the libFuzzer targets with clang and runs each for that long,
# one per core at a time.
set -euo pipefail
shopt -s nullglob
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
dir="$root/build-fuzz"
names=()
for source in "$root"/tests/fuzz/*_fuzz.cpp; do names+=("$(basename "$source" .cpp)"); done
bash "$root/scripts/build_fuzz.sh"
# Any sanitizer report ends the run as a failure, undefined behaviour included (the
# targets are also built with -fno-sanitize-recover=all).
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# A small quarantine, never handed back to the system: freed memory is reused while it
# is still mapped and cached, where the default quarantine (256 MB), handed back every
# few seconds, had the codec targets fault in fresh pages for much of what they take.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:quarantine_size_mb=16:allocator_release_to_os_interval_ms=-1
# The longest input of a target, where the default does not suit: the sound and movie
# decoders reach all of their code within 16 KB, and a longer input only repeats it.
declare -A max_len=([wav_fuzz]=16384 [ogg_fuzz]=16384 [mp3_frame_fuzz]=16384 [movie_fuzz]=16384)
# fuzz_target PATH: one target for the whole time, its output in build-fuzz/<name>.log.
fuzz_target() {
  local target=$1 name corpus seeds=()
  name=$(basename "$target")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  # Checked-in seed files for a target live in tests/fuzz/seeds/<name without _fuzz>.
  [[ -d "$root/tests/fuzz/seeds/${name%_fuzz}" ]] && seeds=("$root/tests/fuzz/seeds/${name%_fuzz}")
  # No single block may exceed twice what the largest picture a loader accepts takes:
  # a header that asks for more is reported on the input that asks.
  # Paths are absolute: the targets of the game's files work in a folder of their own.
  cd "$dir" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len="${max_len[$name]:-65536}" \
    -artifact_prefix="$dir/" -print_final_stats=0 "$corpus" "${seeds[@]}" >"$dir/$name.log" 2>&1
}

# One target per core at a time; every target still runs its full time.
parallel=$(nproc)
targets=("${names[@]/#/$dir/tests/fuzz/}")
pids=()
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= parallel)); do wait -n || true; done
  echo "fuzz: $(basename "$target") for ${seconds}s"
  (fuzz_target "$target") &
  pids+=($!)
done
# A finished job's status stays with its pid, also after the throttle's wait -n.
failed=0
for i in "${!pids[@]}"; do
  status=0
  wait "${pids[i]}" || status=$?
  if ((status != 0)); then
    name=$(basename "${targets[i]}")
    echo "fuzz: $name failed (status $status)"
    tail -50 "$dir/$name.log"
    failed=1
  fi
done
exit "$failed"
