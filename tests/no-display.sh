#!/bin/sh
# With no display at all, a display that is gone (a stale ssh or tmux
# session, also where the X11 plugin is asked for by name) or only a Wayland
# socket without Qt's Wayland plugin, the program says so in one sentence and
# ends with 1, rather than Qt's abort. Qt's own -display stands for DISPLAY;
# a -platform the user chose is left to Qt, whatever DISPLAY says.
# Usage: no-display.sh PROGRAM
program=$1 failed=0 args=

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
exit $failed
