#!/usr/bin/env bash
# Starts an installed tessary offscreen with HOME, XDG_DATA_HOME and the temporary folder in a
# scratch folder and checks that it counts as installed: it makes its folder under
# $XDG_DATA_HOME at start and puts no settings beside itself. Usage: starts_installed.sh BIN_DIR
set -euo pipefail

bin=$1
scratch=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

mkdir -p "$scratch/home" "$scratch/data" "$scratch/run" "$scratch/tmp"
chmod 700 "$scratch/run"
HOME=$scratch/home XDG_DATA_HOME=$scratch/data XDG_RUNTIME_DIR=$scratch/run TMPDIR=$scratch/tmp \
  QT_QPA_PLATFORM=offscreen TESSARY_INSTANCE_NAME="starts-installed-$$" \
  "$bin/tessary" >"$scratch/log" 2>&1 &
pid=$!
folder=$scratch/data/Orvanne/Tessary
for _ in $(seq 1 100); do
  [ -d "$folder" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -d "$folder" ]; then
  echo "$bin/tessary made no folder under \$XDG_DATA_HOME: $(cat "$scratch/log")" >&2
  exit 1
fi
if ! kill -0 "$pid" 2>/dev/null; then
  echo "$bin/tessary did not keep running: $(cat "$scratch/log")" >&2
  exit 1
fi
if [ -e "$bin/Settings.xml" ]; then
  echo "$bin/tessary wrote its settings beside itself" >&2
  exit 1
fi
