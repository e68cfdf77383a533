#!/usr/bin/env bash
# Remakes docs/screenshot.png: the window after importing the sample dictionary and
# searching it, on a private Xvfb display.
# Usage: scripts/screenshot.sh [letters]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
letters="${1:-апельсин}"
"$here/scripts/setup.sh" test "$here/build" quorvane_screenshot

fd_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 50); do
  [ -s "$fd_file" ] && break
  sleep 0.1
done
display=":$(head -n1 "$fd_file")"

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$here/build/docs/screenshot/quorvane_screenshot" \
  "$here/samples/ru_full_forms.txt" "$letters" "$here/docs/screenshot.png"
echo "screenshot: $here/docs/screenshot.png"
