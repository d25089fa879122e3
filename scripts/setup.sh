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
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
