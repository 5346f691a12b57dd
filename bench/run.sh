#!/usr/bin/env bash
# Runs the benchmarks, each beside its baseline in the same run, and reports
# the ratios of their medians; writes them to the report file too.
# Usage: run.sh BUILD_DIR REPORT
set -euo pipefail
build=$1 report=$2
results="$build/bench-results"
mkdir -p "$results"
flags=(--benchmark_report_aggregates_only=true --benchmark_out_format=json)

"$build/bench/press_bench" --benchmark_repetitions=15 "${flags[@]}" --benchmark_out="$results/press.json"
"$build/bench/form_bench" --benchmark_repetitions=15 "${flags[@]}" --benchmark_out="$results/form.json"
xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" \
    "$build/bench/startup_bench" --benchmark_repetitions=5 "${flags[@]}" --benchmark_out="$results/startup.json"
python3 "$(dirname "$0")/report.py" "$results" "$report"
