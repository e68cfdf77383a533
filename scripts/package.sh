#!/usr/bin/env bash
# Installs what is missing and builds the Debian source package and, from it, the binary
# package, with Debian's own tools, into build/package/ (or the folder given).
# Usage: scripts/package.sh [output-folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$here/build/package}")"
"$here/scripts/setup.sh" package
mkdir -p "$out"
cd "$out"
rm -rf quorvane-* quorvane_*
# The tree as its source package holds it (debian/source/options leaves out build folders
# and the sample dictionary), then built from scratch as a clean clone would be.
dpkg-source --build "$here" >/dev/null
dpkg-source --extract quorvane_*.dsc quorvane-src >/dev/null
rm quorvane_*
(cd quorvane-src && dpkg-buildpackage -us -uc -jauto)
deb="$(ls "$out"/quorvane_*.deb)"
echo "package: $deb"
echo "install it with: sudo apt-get install $deb"
