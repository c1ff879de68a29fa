#!/usr/bin/env bash
# Renders the main states of the window (offscreen) into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target make_screenshots
build/dev/tests/screenshots/make_screenshots docs/screenshots
