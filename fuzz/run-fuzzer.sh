#!/usr/bin/env bash
# Replays a fuzz target's committed corpus, then fuzzes it for SECONDS more.
# New inputs go to a scratch folder, so the committed corpus only changes by
# hand. Prints what the run reached: executions and coverage.
# Usage: run-fuzzer.sh TARGET CORPUS SECONDS
set -euo pipefail
target=$1 corpus=$2 seconds=$3
scratch=$(mktemp -d)
log="$scratch.log"
trap 'rm -rf "$scratch" "$log"' EXIT

"$target" -runs=0 "$corpus" 2>"$log" || { cat "$log" >&2; exit 1; }
echo "replayed $(find "$corpus" -type f | wc -l) corpus inputs"
"$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$scratch" "$corpus" 2>"$log" || { cat "$log" >&2; exit 1; }
grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
grep -E 'cov:' "$log" | tail -n 1
