#!/usr/bin/env bash
# The list-view thumbnailer on 200 camera-size JPEG photos (4000 x 3000, half with an Exif
# thumbnail): a cold pass (every photo decoded) and warm passes (all from the list-view store),
# measured by `tessary-cli thumbs`. Targets: cold under 5 s, warm under 0.3 s.
#   bench/thumbs/thumbs_pass.sh [BUILD_DIR] [PASSES]
# The photos are made once into a temporary folder, which is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/dev}
passes=${2:-3}
cmake --build "$build" --target tessary-cli bench_make_camera_photos >/dev/null

photos=$(mktemp -d "${TMPDIR:-/tmp}/tessary-camera-photos.XXXXXX")
trap 'rm -rf "$photos"' EXIT
"$build/bench/bench_make_camera_photos" "$photos" 200
echo "photos: $(ls "$photos" | wc -l) files, $(du -sh "$photos" | cut -f1)" >&2
"$build/src/cli/tessary-cli" thumbs "$photos" --passes "$passes" --json
