#!/usr/bin/env bash
# parvolin.exe unpacked beside a hostile oleacc.dll (a zip unpacked into
# Downloads), with Wine told to prefer a DLL it finds over its own, as Windows
# would: the program must not load it. The DLL leaves a marker when loaded;
# the program loads oleacc when it names the unit boxes, right after showing.
# Usage: dll-planting-test.sh WINE_RUN PREFIX PROGRAM PLANTED_DLL
set -euo pipefail
wine_run=$1 prefix=$2 program=$3 dll=$4

if [[ -z ${PARVOLIN_WINE_XVFB:-} ]]; then
    export PARVOLIN_WINE_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" "$0" "$@"
fi

folder=$(mktemp -d)
cp "$program" "$folder/parvolin.exe"
cp "$dll" "$folder/oleacc.dll"
WINEDLLOVERRIDES=oleacc=n,b "$wine_run" "$prefix" "$folder/parvolin.exe" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$folder"' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Parvolin$' | head -n 1)
sleep 2
xdotool windowfocus --sync "$window" key alt+F4
wait $pid || true
if [[ -e $folder/planted-dll-loaded ]]; then
    echo "FAILED: parvolin.exe loaded the oleacc.dll beside it"
    exit 1
fi
echo "ok: the oleacc.dll beside parvolin.exe was not loaded"
