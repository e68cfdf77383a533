#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages only), then configures and builds.
# Usage: scripts/setup.sh [build-dir]   (run as root, or with sudo available)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

packages=(cmake g++ make qt6-base-dev libgl-dev fonts-liberation fonts-dejavu-core
          qt6-translations-l10n xvfb xauth hunspell-ru hunspell-tools
          python3 openbox xdotool x11-utils x11-xserver-utils xclip)
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

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
"$here/scripts/make_sample_dictionary.sh"
