#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in the Wine prefix named first.
# The tests use it as CMake's cross-compiling emulator.
# A program that opens windows (PARVOLIN_WINE_X=1) runs on a private Xvfb, in
# a prefix of its own ("PREFIX-x"): Wine's desktop process binds to the X
# server it starts on, so it must not outlive that server or serve another.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
#        wine-run.sh PREFIX --start | --stop   (a wine server for a test run)
set -euo pipefail
prefix=$1
shift
# A test may add overrides of its own (WINEDLLOVERRIDES in the environment).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

if [[ ${PARVOLIN_WINE_X:-} == 1 && -z ${PARVOLIN_WINE_XVFB:-} ]]; then
    export PARVOLIN_WINE_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" \
        "$0" "$prefix-x" "$@"
fi
export WINEPREFIX=$prefix
# A desktop whose work area leaves room for a taskbar, as Windows' does
# (PARVOLIN_WINE_WORK_AREA="X,Y,WIDTH,HEIGHT"): Wine takes it from the X root
# window's _NET_WORKAREA, which no window manager sets on this Xvfb.
if [[ -n ${PARVOLIN_WINE_XVFB:-} && -n ${PARVOLIN_WINE_WORK_AREA:-} ]]; then
    xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$PARVOLIN_WINE_WORK_AREA"
fi

# The first run makes the prefix (some seconds); tests started together wait
# for it rather than making it twice.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    wineboot --init >/dev/null 2>&1 9>&- || true
    if [[ -n ${PARVOLIN_WINE_DPI:-} ]]; then
        # A prefix whose screen has this many dots per inch (144: 150 per cent).
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PARVOLIN_WINE_DPI" /f \
            >/dev/null 2>&1 || true
    fi
    if [[ -n ${PARVOLIN_WINE_XVFB:-} ]]; then
        # Xvfb has no window manager, for which Wine would wait two seconds
        # whenever a managed window closes.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    fi
    wineserver --wait || true
fi
if [[ -n ${PARVOLIN_WINE_XVFB:-} ]]; then
    # The lock is held to the end: one windowed program per prefix at a time.
    # Wine's processes do not inherit the lock: one left behind must not hold it.
    status=0
    wine "$@" 9>&- || status=$?
    wineserver --kill 2>/dev/null || true
    exit "$status"
fi
# The tests keep one wine server for their whole run (--start before them,
# --stop after): starting one for every test costs seconds, and a server
# that ends on a timeout can do so just as the next test connects to it.
case $1 in
    --start)
        # Whatever server runs may end on its own timeout: replace it.
        wineserver --kill 2>/dev/null || true
        wineserver --wait 2>/dev/null || true
        # Detached from the output, which a test runner waits on to close;
        # Wine's own services start here too, for the same reason, rather
        # than from the first test, whose output they would hold open.
        wineserver --persistent 9>&- </dev/null >/dev/null 2>&1
        # The tests begin only once a Windows program has really run on the
        # new server: the first test after it was the one that, now and then,
        # ended in hundredths of a second with no output at all.
        for attempt in 1 2 3 4 5; do
            wine cmd /c exit 9>&- </dev/null >/dev/null 2>&1 && exit 0
            sleep 1
        done
        echo "wine-run.sh: no Windows program starts in $WINEPREFIX" >&2
        exit 1 ;;
    --stop) wineserver --kill 2>/dev/null || true; exit 0 ;;
esac
flock --unlock 9
exec 9>&-
exec wine "$@"
