#!/usr/bin/env bash
# Runs one fuzz target for a fixed time from its seed folders. New inputs go to
# a temporary folder, so the committed seeds never change. A crash, a sanitizer
# report, an input slower than 30 s or a run above 2 GB ends the run with a
# non-zero status, and the input that did it is kept in ARTIFACTS.
#   run-fuzz-target.sh TARGET SECONDS MAX_LEN ARTIFACTS SEED_FOLDER...
set -euo pipefail
target=$1 seconds=$2 max_len=$3 artifacts=$4
shift 4

corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$artifacts"
"$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=2048 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" "$@"
