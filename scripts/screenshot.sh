#!/usr/bin/env bash
# Takes a picture of the program for the README: the program on its own Xvfb
# with an example computed (Imperial, 154 pounds, 69 inches), typed and
# clicked as a user would. COMMAND starts the program: the Linux program
# itself, or scripts/wine-run.sh with a Wine prefix and parvolin.exe.
# Usage: screenshot.sh OUTPUT COMMAND [ARGUMENTS...]
set -euo pipefail
output=$1
shift

# PARVOLIN_WINE_XVFB tells the Wine runner that this is the X server to use.
if [[ -z ${PARVOLIN_WINE_XVFB:-} ]]; then
    export PARVOLIN_WINE_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 640x480x24 -nolisten tcp -noreset" "$0" "$output" "$@"
fi

"$@" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=
for _ in $(seq 300); do
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
# Alt+F4 closes the Wine window; the Linux program without a window manager
# ends on the kill that follows.
xdotool key alt+F4
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
