#!/usr/bin/env bash
# Installs every Debian package the project builds, runs and tests with.
# Quick when everything is there: apt runs only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libogg-dev libvorbis-dev libmpg123-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libswresample-dev ffmpeg
  libpixman-1-dev
  xvfb xauth sox libsox-fmt-all imagemagick
  twm xdotool
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
# Runs an apt-get command; while another package manager run (an unattended upgrade,
# say) holds the dpkg or list lock, waits and tries again, for at most
# SETUP_LOCK_WAIT_SECONDS (600) in all.
lock_wait_limit=${SETUP_LOCK_WAIT_SECONDS:-600}
lock_retry_pause=${SETUP_LOCK_RETRY_PAUSE:-5}
apt_get_waiting_for_lock() {
  local errors status
  errors=$(mktemp)
  while true; do
    status=0
    "$@" -o DPkg::Lock::Timeout="$lock_wait_limit" 2>"$errors" || status=$?
    cat "$errors" >&2
    if ((status == 0)) || ! grep -qiE 'could not get lock|unable to (acquire|lock)' "$errors" ||
       ((SECONDS >= lock_wait_limit)); then
      rm -f "$errors"
      return "$status"
    fi
    echo "setup: another package manager holds the lock; trying again in ${lock_retry_pause} s" >&2
    sleep "$lock_retry_pause"
  done
}

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  apt_get_waiting_for_lock "${sudo_cmd[@]}" apt-get update -qq
  apt_get_waiting_for_lock "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"
fi
