#!/usr/bin/env bash
# Installs what is missing, builds the program and its desktop files, and packs them into
# a Debian package in build/package/. Only what the package holds is built.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh" --no-sample "$here/build" quorvane quorvane_desktop_files
cpack -G DEB --config "$here/build/CPackConfig.cmake" -B "$here/build/package"
deb="$(ls "$here"/build/package/quorvane_*.deb)"
echo "package: $deb"
echo "install it with: sudo apt-get install $deb"
