#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quorvane.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh" "$here/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "quorvane: no display to show the window on; run it under Xvfb: xvfb-run -a $here/build/quorvane" >&2
  exit 1
fi
exec "$here/build/quorvane"
