#!/usr/bin/env bash
# The Windows downloads under Wine, on a private Xvfb: the zip holds what it
# should; the installer installs silently (files, Start-menu shortcut,
# Add/Remove Programs entry), the installed program starts and closes with
# status 0, and the uninstaller leaves nothing behind. Both are all or
# nothing against a running Parvolin: a silent run closes it and goes on; one
# that hangs (stopped with SIGSTOP), or one out of its sight, makes them change
# nothing and end with 2.
# Usage: install-test.sh PREFIX SETUP ZIP VERSION
set -euo pipefail
prefix=$1 setup=$2 zip=$3 version=$4

if [[ -z ${PARVOLIN_WINE_XVFB:-} ]]; then
    export PARVOLIN_WINE_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" "$0" "$@"
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

passes=0 failures=0
expect() {  # expect WHAT ACTUAL EXPECTED
    if [[ $2 == "$3" ]]; then echo "ok: $1"; passes=$((passes + 1))
    else echo "FAILED: $1: got '$2', expected '$3'"; failures=$((failures + 1)); fi
}
exists() { [[ -e $1 ]] && echo yes || echo no; }
registry() {  # the value of the uninstall entry, or nothing
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Parvolin' /v "$1" 2>/dev/null |
        tr -d '\r' | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

listing=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
folder=$(basename "$zip" .zip)
expect "the zip holds the program, its licence and a README" "$listing" \
    "$folder/ $folder/LICENSE.txt $folder/README.txt $folder/parvolin.exe"

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[[ -f $prefix/system.reg ]] || { wineboot --init >/dev/null 2>&1 || true; }
wineserver --wait || true

start() {  # starts the installed program and waits for its window
    wine "$dir/parvolin.exe" &
    pid=$!
    window=
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --name '^Parvolin$' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
        sleep 0.1
    done
}
ended() {  # ended TIMEOUT: yes when the started program ends within TIMEOUT seconds
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; gone=yes; return; }
        sleep 0.1
    done
    gone=no
}
run() { status=0; wine "$@" || status=$?; echo "$status"; }

dir="$prefix/drive_c/Program Files/Parvolin"
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Parvolin.lnk"
# What a run that failed halfway may have left in the shared prefix.
rm -rf "$dir" "$prefix/drive_c/Tools" "$shortcut"
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Parvolin' /f >/dev/null 2>&1 || true

# The installer asks for Windows 10, version 1607 or later: Wine, told for
# this installer alone to be Windows 7, then 10.
windows_version() {
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$setup")" /v Version /d "$1" /f >/dev/null 2>&1
}
windows_version win7
expect "on Windows 7 the installer ends with 2" "$(run "$setup" /S)" 2
expect "and installs nothing" "$(exists "$dir")" no
windows_version win10

wine "$setup" /S
wineserver --wait
expect "the program is installed in Program Files" "$(exists "$dir/parvolin.exe")" yes
expect "with its licence and README" "$(exists "$dir/LICENSE.txt")$(exists "$dir/README.txt")" yesyes
expect "both with Windows line ends" "$(cat "$dir/LICENSE.txt" "$dir/README.txt" | grep -vc $'\r$')" 0
expect "a Start-menu shortcut named Parvolin" "$(exists "$shortcut")" yes
expect "an Add/Remove Programs entry" "$(registry DisplayName)" Parvolin
expect "with the version" "$(registry DisplayVersion)" "$version"
expect "and the size in KiB" "$(( $(registry EstimatedSize) > 400 ))" 1
expect "and its uninstaller" "$(registry UninstallString)" '"C:\Program Files\Parvolin\uninstall.exe"'

start
expect "the installed program opens its window" "$([[ -n $window ]] && echo yes || echo no)" yes
[[ -n $window ]] && xdotool windowfocus --sync "$window" key alt+F4
status=0
wait $pid || status=$?
expect "and closes with status 0" "$status" 0

start
expect "installing over the running program succeeds" "$(run "$setup" /S)" 0
ended 5
expect "after closing it" "$gone" yes

# A program that does not answer: the Linux process of its window, stopped.
start
windows_pid=$(xdotool getwindowpid "$window")
kill -STOP "$windows_pid"
stamp=$(stat -c %Y "$dir/parvolin.exe")
sleep 1  # a rewritten file would show a later time
expect "installing over a hung program ends with 2" "$(run "$setup" /S)" 2
expect "and leaves the program as it was" "$(stat -c %Y "$dir/parvolin.exe")" "$stamp"
# _?= runs the uninstaller in place, so that its exit status is seen; NSIS
# reads the folder after it unquoted, so without a blank (its short name).
expect "uninstalling a hung program ends with 2" \
    "$(run "$dir/uninstall.exe" /S '_?=C:\PROGRA~1\Parvolin')" 2
expect "and leaves the program, its shortcut and its entry" \
    "$(exists "$dir/parvolin.exe")$(exists "$shortcut")$(registry DisplayName)" yesyesParvolin
kill -CONT "$windows_pid"
xdotool windowfocus --sync "$window" key alt+F4
ended 10

# A copy whose window the installer cannot find (on another desktop, as in
# another user's session) still holds its file: Windows refuses to rewrite it,
# and the installer must say so rather than skip the file and report success.
wine explorer /desktop=other "$dir/parvolin.exe" &
other=$!
for _ in $(seq 150); do xdotool search --name '^other - Wine desktop$' >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1  # the desktop shows before the program is loaded
stamp=$(stat -c %Y "$dir/parvolin.exe")
expect "installing over a copy on another desktop ends with 2" "$(run "$setup" /S)" 2
expect "and leaves the program as it was" "$(stat -c %Y "$dir/parvolin.exe")" "$stamp"
wine taskkill /f /im parvolin.exe >/dev/null 2>&1
wait "$other" || true

start
wine "$dir/uninstall.exe" /S
wineserver --wait  # the uninstaller runs on from a copy of itself
ended 5
expect "the uninstaller closes the running program" "$gone" yes
expect "the uninstaller removes the folder" "$(exists "$dir")" no
expect "and the shortcut" "$(exists "$shortcut")" no
expect "and the Add/Remove Programs entry" "$(registry DisplayName)" ""

# An update finds a copy installed elsewhere (/D=) and replaces it there.
tools="$prefix/drive_c/Tools/Parvolin"
run "$setup" /S '/D=C:\Tools\Parvolin' >/dev/null
expect "an update goes to the folder installed into" "$(run "$setup" /S)$(exists "$dir")" 0no
expect "which the entry still names" "$(registry InstallLocation)" 'C:\Tools\Parvolin'
run "$tools/uninstall.exe" /S '_?=C:\Tools\Parvolin' >/dev/null
expect "and whose uninstaller removes it" "$(exists "$tools/parvolin.exe")$(registry DisplayName)" no

wineserver --kill 2>/dev/null || true
echo "$passes passed, $failures failed"
((failures == 0))
