#!/usr/bin/env bash
# Installs what is missing, builds the program alone, and starts it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh" run "$here/build" quorvane
exec "$here/build/quorvane"
