#!/usr/bin/env bash
# Takes docs/screenshot.png: the program on its own Xvfb with an example
# computed (Imperial, 154 pounds, 69 inches), typed and clicked as a user would.
# Usage: screenshot.sh PROGRAM OUTPUT
set -euo pipefail
program=$1 output=$2

if [[ -z ${PARVOLIN_IN_XVFB:-} ]]; then
    export PARVOLIN_IN_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 640x480x24 -nolisten tcp -noreset" "$0" "$@"
fi

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Parvolin$' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "the window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"

# The focus starts in the unit-system box: weight, height, then pick Inches
# with the arrow key in the height-unit box, and press Calculate! with Space.
xdotool key --delay 50 Tab
xdotool type --delay 50 154
xdotool key --delay 50 Tab
xdotool type --delay 50 69
xdotool key --delay 50 Tab Tab Down Tab space
sleep 0.5

import -window "$window" "$output"
echo "saved $output"
