#!/usr/bin/env bash
# Installs the Debian packages Celvane needs to build, run and test. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache zlib1g-dev
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev gifsicle
  fonts-dejavu-core fonts-liberation2
  # Other programs' readers, which the tests use to check what we write.
  ffmpeg poppler-utils
  # A sound server with a null sink, for the tests that listen to what is played.
  pulseaudio pulseaudio-utils
  # A desktop session for the system tests: an X server, a window manager, the accessibility
  # bus through which they find the program's controls, and real input events.
  xvfb xauth openbox xdotool x11-utils dbus-daemon at-spi2-core python3-pyatspi
  # libFuzzer and the sanitizers' runtimes, for the fuzz targets (scripts/fuzz.sh).
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
