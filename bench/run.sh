#!/usr/bin/env bash
# Runs the benchmarks, each beside its baseline in the same run, and reports
# the ratios of their medians; writes them to the report file too. With the
# Windows build's folder, parvolin.exe's start-up under Wine and its size too.
# Usage: run.sh BUILD_DIR REPORT [WINDOWS_BUILD_DIR]
set -euo pipefail
build=$1 report=$2 windows=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
results="$build/bench-results"
mkdir -p "$results"
rm -f "$results/windows.json"
flags=(--benchmark_report_aggregates_only=true --benchmark_out_format=json)

"$build/bench/press_bench" --benchmark_repetitions=15 "${flags[@]}" --benchmark_out="$results/press.json"
"$build/bench/form_bench" --benchmark_repetitions=15 "${flags[@]}" --benchmark_out="$results/form.json"

if [[ -n $windows ]]; then
    windows=$(cd "$windows" && pwd)
    exe=$windows/app/parvolin.exe minimal=$windows/bench/minimal_win32.exe
    controls=$windows/bench/minimal_controls_win32.exe
    printf '{"parvolin_exe_bytes": %d, "minimal_exe_bytes": %d}\n' \
        "$(stat -c %s "$exe")" "$(stat -c %s "$minimal")" > "$results/windows.json"
    # Makes the windowed Wine prefix if need be, as the tests do.
    PARVOLIN_WINE_X=1 "$here/../scripts/wine-run.sh" "$windows/wine" cmd /c exit
    export WINEPREFIX=$windows/wine-x WINEDEBUG=-all PARVOLIN_WINE_APP=$exe PARVOLIN_WINE_MINIMAL_APP=$minimal \
        PARVOLIN_WINE_CONTROLS_APP=$controls
fi

# One wine server for the whole run, so that neither side pays for starting it.
xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" bash -c '
    if [[ -n ${WINEPREFIX:-} ]]; then wineserver --persistent; trap "wineserver --kill" EXIT; fi
    "$@"' bash \
    "$build/bench/startup_bench" --benchmark_repetitions=7 --benchmark_enable_random_interleaving=true \
        "${flags[@]}" --benchmark_out="$results/startup.json"
python3 "$here/report.py" "$results" "$report"
