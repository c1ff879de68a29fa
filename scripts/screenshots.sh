#!/usr/bin/env bash
# Makes every screenshot of docs/screenshots/: the main states rendered offscreen, one of them
# again at 200 % scaling, and the real program under a private X server driven from outside
# through a sample album of generated photos (the desktop-*.png files).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target make_screenshots tessary tessary-cli e2e_xdnd_drop e2e_make_photos
out=docs/screenshots
build/dev/tests/screenshots/make_screenshots "$out"

scaled=$(mktemp -d)
trap 'rm -rf "$scaled"' EXIT
QT_SCALE_FACTOR=2 build/dev/tests/screenshots/make_screenshots "$scaled" >/dev/null
cp "$scaled/item-list-thumbnails.png" "$out/scale2-item-list-thumbnails.png"

# The first three journeys of the end-to-end suite pass through every main state.
/usr/bin/python3 tests/e2e/run_journeys.py --tessary build/dev/src/app/tessary \
  --drop build/dev/tests/e2e/e2e_xdnd_drop --make-photos build/dev/tests/e2e/e2e_make_photos \
  --cli build/dev/src/cli/tessary-cli --out "$scaled/journeys" --only viewer --shots "$out"
ls "$out"
