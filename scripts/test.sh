#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh" test "$here/build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$here/build" --output-on-failure -j"$(nproc)"
