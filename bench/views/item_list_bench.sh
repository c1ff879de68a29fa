#!/usr/bin/env bash
# The item list's figures (bench/views/ItemListBench.cpp): a 20,000-item album shown and
# scrolled, and the first screen of 1,000 camera photos (100 distinct 4000 x 3000 JPEGs, half
# with an Exif thumbnail, linked ten times each) made cold.
#   bench/views/item_list_bench.sh [BUILD_DIR] [benchmark options...]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/dev}
shift || true
cmake --build "$build" --target bench_itemlist bench_make_camera_photos >/dev/null

photos=$(mktemp -d "${TMPDIR:-/tmp}/tessary-camera-photos.XXXXXX")
trap 'rm -rf "$photos"' EXIT
"$build/bench/bench_make_camera_photos" "$photos" 100
echo "cores: $(nproc); load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
TESSARY_CAMERA_PHOTOS="$photos" QT_QPA_PLATFORM=offscreen "$build/bench/views/bench_itemlist" "$@"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
