#!/usr/bin/env bash
# Sets up, builds and runs every test: a normal build with all tests, the Debian package made
# from it (checked, installed and removed again), then an AddressSanitizer +
# UndefinedBehaviorSanitizer build (clang) of everything below the widgets, with short
# fuzzing runs. Any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)

echo "== normal build"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== package"
scripts/check-package.sh

echo "== sanitizer build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp":print_suppressions=0 \
  ctest --preset asan -j "$jobs"
