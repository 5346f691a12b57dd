#!/usr/bin/env bash
# The Windows program under Wine on its own Xvfb, driven with real X input as
# a user drives it (xdotool: keys typed, Tab, a mouse click), so that its
# message loop is exercised end to end. Results are read back through the
# clipboard, as a user would copy them.
# Usage: blackbox.sh WINE_RUN PREFIX PROGRAM
set -euo pipefail
wine_run=$1 prefix=$2 program=$3

if [[ -z ${PARVOLIN_WINE_XVFB:-} ]]; then
    export PARVOLIN_WINE_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" "$0" "$@"
fi

passes=0 failures=0
expect() {  # expect WHAT ACTUAL EXPECTED
    if [[ $2 == "$3" ]]; then echo "ok: $1"; passes=$((passes + 1))
    else echo "FAILED: $1: got '$2', expected '$3'"; failures=$((failures + 1)); fi
}
windows() { xdotool search --onlyvisible --name '^Parvolin$' 2>/dev/null | wc -l; }
wait_for_windows() {
    for _ in $(seq 150); do [[ $(windows) == "$1" ]] && return 0; sleep 0.1; done
    return 1
}
copied() {  # the focused box's text, selected and copied with the keyboard
    xdotool key --delay 30 ctrl+a ctrl+c
    sleep 0.5
    xclip -o -selection clipboard 2>/dev/null || true
}

"$wine_run" "$prefix" "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
wait_for_windows 1 || { echo "FAILED: the window did not appear"; exit 1; }
window=$(xdotool search --onlyvisible --name '^Parvolin$' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 0.5

# The focus starts in the Method box: weight, height, then Inches with the
# arrow key in the height-unit box, Calculate! with Space, Tab to the BMI.
xdotool key --delay 50 Tab
xdotool type --delay 50 154
xdotool key --delay 50 Tab
xdotool type --delay 50 69
xdotool key --delay 50 Tab Tab Down Tab space Tab Tab
expect "154 pounds at 69 inches, keyed in" "$(copied)" "22.7393404746902"

# A bad weight, then a mouse click on Calculate!: the message box opens; Enter
# closes it, and what is typed next replaces the weight.
xdotool key --delay 50 Tab Tab
xdotool type --delay 50 7o
# Unmanaged, Wine draws the frame inside the X window: the client area is the
# bottom 217 x 243 of it, centred across.
eval "$(xdotool getwindowgeometry --shell "$window")"
border=$(((WIDTH - 217) / 2))
xdotool mousemove --window "$window" $((border + 105)) $((HEIGHT - border - 243 + 120)) click 1
wait_for_windows 2 && expect "a click on Calculate! with a bad weight opens a message box" yes yes \
    || expect "a click on Calculate! with a bad weight opens a message box" no yes
xdotool key --delay 50 Return
wait_for_windows 1 || true
expect "Enter closes the message box" "$(windows)" 1
sleep 0.3
# Typed over the selected "7o", the weight is 70 and the next press succeeds:
# no second message box.
xdotool type --delay 50 70
xdotool mousemove --window "$window" $((border + 105)) $((HEIGHT - border - 243 + 120)) click 1
sleep 1
expect "the weight box had the focus with its text selected" "$(windows)" 1

xdotool key alt+F4
status=0
wait $pid || status=$?
trap - EXIT
expect "Alt+F4 ends the program with status 0" "$status" 0
echo "$passes passed, $failures failed"
((failures == 0))
