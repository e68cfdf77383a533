#!/usr/bin/env bash
# Installs the Debian 12 packages that a command needs, then configures and builds.
# Usage: scripts/setup.sh run|test|package [build-dir [target ...]]   (as root, or with sudo available)
#   run      building and running the program, and the sample dictionary
#   test     that, and the tools the test suite drives the program and checks the package with
#   package  building the Debian package; dpkg-buildpackage configures and builds, not this
# With targets, only those are built. The build folder is configured for its command each time
# (the build itself re-runs CMake when the project files change).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-}"
build="${2:-$here/build}"
targets=("${@:3}")

# What the build needs, as debian/control's Build-Depends says, and what the program loads.
building=(cmake g++ make qt6-base-dev libgl-dev libxcb1-dev librsvg2-bin)
running=(fonts-liberation fonts-dejavu-core qt6-translations-l10n qt6-wayland)
sample=(hunspell-ru hunspell-tools)
packaging=(build-essential debhelper)
# X and Wayland servers, window managers and their drivers for the end-to-end tests; session
# and AT-SPI buses and a client for the screen-reader tests; the desktop-file and package checks.
testing=(python3 xvfb openbox xfwm4 xfconf xdotool x11-utils x11-xserver-utils xclip
         sway wayvnc wtype wl-clipboard dbus-daemon dbus-bin at-spi2-core python3-pyatspi
         desktop-file-utils appstream lintian)
case "$mode" in
  run) packages=("${building[@]}" "${running[@]}" "${sample[@]}") ;;
  test) packages=("${building[@]}" "${running[@]}" "${sample[@]}" "${packaging[@]}" "${testing[@]}") ;;
  package) packages=("${building[@]}" "${packaging[@]}") ;;
  *) echo "usage: scripts/setup.sh run|test|package [build-dir [target ...]]" >&2; exit 2 ;;
esac

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
[ "$mode" = package ] && exit 0

# Running needs neither the tests nor the benchmarks, nor the tools they find at configure time.
tests=OFF
[ "$mode" = test ] && tests=ON
first=()
[ -f "$build/CMakeCache.txt" ] || first=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
cmake -S "$here" -B "$build" "${first[@]}" -DBUILD_TESTING=$tests -DQUORVANE_BENCH=$tests >/dev/null
cmake --build "$build" -j"$(nproc)" ${targets[@]+--target "${targets[@]}"}
"$here/scripts/make_sample_dictionary.sh"
