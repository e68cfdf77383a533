#!/usr/bin/env bash
# Installs what is missing, builds the program alone, and starts it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "quorvane: a graphical session is needed to show the window, and there is none here" >&2
  echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Start scripts/run.sh from a terminal" >&2
  echo "inside your desktop session." >&2
  exit 1
fi
"$here/scripts/setup.sh" "$here/build" quorvane
exec "$here/build/quorvane"
