#!/usr/bin/env bash
# Sets up, builds and starts Tessary. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target tessary tessary-cli
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Start it under a virtual display with:"
  echo "  xvfb-run -a build/dev/src/app/tessary"
  exit 1
fi
exec build/dev/src/app/tessary "$@"
