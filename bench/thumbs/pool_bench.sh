#!/usr/bin/env bash
# The list-view thumbnailer's worker pool on 200 camera-size JPEG photos (4000 x 3000, half
# with an Exif thumbnail): the cold pass and the first screen with 1 and 2 workers in the
# same run (bench/ThumbPoolBench.cpp). The load average is printed before and after, since
# the figures only mean something on an otherwise idle machine.
#   bench/thumbs/pool_bench.sh [BUILD_DIR] [benchmark options...]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/dev}
shift || true
cmake --build "$build" --target bench_thumbpool bench_make_camera_photos >/dev/null

photos=$(mktemp -d "${TMPDIR:-/tmp}/tessary-camera-photos.XXXXXX")
trap 'rm -rf "$photos"' EXIT
"$build/bench/bench_make_camera_photos" "$photos" 200
echo "photos: $(ls "$photos" | wc -l) files, $(du -sh "$photos" | cut -f1); cores: $(nproc)" >&2
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
TESSARY_CAMERA_PHOTOS="$photos" "$build/bench/bench_thumbpool" "$@"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
