#!/usr/bin/env bash
# Short libFuzzer run: run-fuzzer.sh BINARY CORPUS_DIR SECONDS
# TESSARY_FUZZ_TIME_SCALE multiplies the time (e.g. 4 for a longer local run).
# A first run with TESSARY_FUZZ_SEEDS set lets the harness write its generated seed inputs
# into the corpus folder; the timed run then starts from them.
set -eu -o pipefail
bin=$1; corpus=$2; seconds=$(( $3 * ${TESSARY_FUZZ_TIME_SCALE:-1} ))
mkdir -p "$corpus"
if ! TESSARY_FUZZ_SEEDS="$corpus" "$bin" -runs=0 "$corpus" >"$corpus.seed.log" 2>&1; then
  tail -n 40 "$corpus.seed.log"
  exit 1
fi
# A fixed seed makes every run walk the same inputs, so a red run can be reproduced and a
# green one here means the same inputs pass elsewhere.
"$bin" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  "$corpus" 2>&1 | tail -n 20
