#!/bin/sh
# With no display at all, a display that is gone (a stale ssh or tmux
# session, also where the X11 plugin is asked for by name) or only a Wayland
# socket without Qt's Wayland plugin, the program says so in one sentence and
# ends with 1, rather than Qt's abort. Qt's own -display stands for DISPLAY;
# a -platform the user chose is left to Qt, whatever DISPLAY says.
# A DISPLAY that is gone beside a Wayland display that answers, with the
# Wayland plugin installed (a stand-in from FAKE_PLUGINS), opens the window
# on Wayland.
# Usage: no-display.sh PROGRAM FAKE_PLUGINS
program=$1 fake_plugins=$2 failed=0 args=

check() {  # expected reason, then the environment; $args go to the program
    reason=$1
    shift
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" $args 2>&1)
    status=$?
    echo "$out (status $status)"
    [ "$status" -eq 1 ] && [ "$out" = "parvolin: no display to open the window on ($reason)." ] || failed=1
}

check "DISPLAY is not set"
check "no X server answers at DISPLAY :64999" DISPLAY=:64999
check "no X server answers at DISPLAY :64999" DISPLAY=:64999 QT_QPA_PLATFORM=xcb
args="-display :64998"
check "no X server answers at -display :64998" DISPLAY=:64999
args=
out=$(DISPLAY=:64999 "$program" --platform parvolin-none 2>&1)
case $out in *'platform plugin "parvolin-none"'*) ;; *) echo "$out"; failed=1 ;; esac
if ls /usr/lib/*/qt6/plugins/platforms/libqwayland* >/dev/null 2>&1; then
    check "no Wayland compositor answers at WAYLAND_DISPLAY parvolin-none" WAYLAND_DISPLAY=parvolin-none
else
    check "WAYLAND_DISPLAY is set, but Qt's Wayland plugin is not installed: install qt6-wayland" WAYLAND_DISPLAY=parvolin-none
    check "no X server answers at DISPLAY :64999, and WAYLAND_DISPLAY is set, but Qt's Wayland plugin is not installed: install qt6-wayland" DISPLAY=:64999 WAYLAND_DISPLAY=parvolin-none
fi
runtime=$(mktemp -d)
python3 -c 'import socket, sys, time
listener = socket.socket(socket.AF_UNIX)
listener.bind(sys.argv[1])
listener.listen()
time.sleep(30)' "$runtime/wayland-parvolin" &
listener=$!
while [ ! -S "$runtime/wayland-parvolin" ]; do sleep 0.05; done
out=$(env -u QT_QPA_PLATFORM DISPLAY=:64999 WAYLAND_DISPLAY=wayland-parvolin XDG_RUNTIME_DIR="$runtime" \
    QT_PLUGIN_PATH="$fake_plugins" "$program" 2>&1)
status=$?
echo "$out (status $status)"
[ "$status" -eq 3 ] && [ "$out" = "opened on Wayland" ] || failed=1
kill $listener
rm -rf "$runtime"
exit $failed
