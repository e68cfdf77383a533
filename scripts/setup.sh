#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages only), then configures and builds.
# Usage: scripts/setup.sh [--no-sample] [build-dir [target ...]]   (run as root, or with sudo available)
# With targets, only those are built; a configured build folder is not configured again
# (the build itself re-runs CMake when the project files change). --no-sample skips the
# sample dictionary, which only the benchmarks and the screenshot read.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
sample=1
if [ "${1:-}" = "--no-sample" ]; then
  sample=0
  shift
fi
build="${1:-$here/build}"
targets=("${@:2}")

packages=(cmake g++ make qt6-base-dev libgl-dev fonts-liberation fonts-dejavu-core
          qt6-translations-l10n xvfb xauth hunspell-ru hunspell-tools
          librsvg2-bin desktop-file-utils appstream dpkg-dev file lintian
          python3 openbox xdotool x11-utils x11-xserver-utils xclip libxcb1-dev
          xfwm4 xfconf dbus-daemon sway wayvnc wtype wl-clipboard qt6-wayland)
# The a11y tests' own session and AT-SPI buses, and their client.
packages+=(dbus-daemon dbus-bin at-spi2-core python3-pyatspi)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build" -j"$(nproc)"
fi
if [ "$sample" -eq 1 ]; then
  "$here/scripts/make_sample_dictionary.sh"
fi
