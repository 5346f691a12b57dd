#!/usr/bin/env bash
# The Windows downloads under Wine, on a private Xvfb: the zip holds what it
# should; the installer refuses a Windows older than 10, version 1607, and
# installs silently (files, Start-menu shortcut, Add/Remove Programs entry)
# into a folder of its own whose rights it sets; the installed program starts
# and closes with status 0; the uninstaller, run as its README tells scripts,
# leaves nothing behind, and changes nothing in a folder that does not hold
# the installation. Both are all or nothing against a running Parvolin: a
# silent run closes the copy it would replace (not one started from
# elsewhere) and goes on; one that hangs (stopped with SIGSTOP), or one out
# of its sight, makes them change nothing and end with 2. The interactive
# question about a running Parvolin is answered with real keys.
# Usage: install-test.sh PREFIX SETUP ZIP VERSION
set -euo pipefail
trap 'echo "install-test.sh: stopped by a failed command on line $LINENO" >&2' ERR
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

# Windows shows the installer's version in its properties: the program's own.
fixed_versions() {  # the file and product versions of a PE's version resource
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
ms_file, ls_file, ms_product, ls_product = struct.unpack_from("<4I", data, at + 8)
quad = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
print(quad(ms_file, ls_file), quad(ms_product, ls_product))
PY
}
unzipped=$(mktemp -d)
trap 'rm -rf "$unzipped"' EXIT
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$unzipped"
expect "the installer's file and product versions are the program's" \
    "$(fixed_versions "$setup")" "$(fixed_versions "$unzipped"/*/parvolin.exe)"

listing=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
folder=$(basename "$zip" .zip)
expect "the zip holds the program, its licence and a README" "$listing" \
    "$folder/ $folder/LICENSE.txt $folder/README.txt $folder/parvolin.exe"

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
# A server of this run's own: one a test before left running has its
# programs, and its desktop on that test's X server, now gone.
wineserver --kill 2>/dev/null || true
wineserver --wait 2>/dev/null || true
[[ -f $prefix/system.reg ]] || { wineboot --init >/dev/null 2>&1 || true; }
wineserver --wait || true

# xdotool matches a window by any of the criteria given unless told --all:
# without it, --pid P --name N finds every Parvolin window, another copy's too.
window_of() {  # window_of PID: the visible Parvolin window of that process
    window=
    for _ in $(seq 600); do
        window=$(xdotool search --all --onlyvisible --pid "$1" --name '^Parvolin$' 2>/dev/null | head -n 1) &&
            [[ -n $window ]] && break
        sleep 0.1
    done
}
start() {  # start [EXE]: starts the installed program, or EXE, and waits for its window
    wine "${1:-$dir/parvolin.exe}" &
    pid=$!
    window_of "$pid"
}
ended() {  # ended TIMEOUT: yes when the started program ends within TIMEOUT seconds (generous: a busy machine is slow)
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; gone=yes; return; }
        sleep 0.1
    done
    gone=no
}
run() { status=0; wine "$@" || status=$?; echo "$status"; }
# The commands a run of the installer starts, one a line, as Windows got them.
commands() {  # commands TRACE: from Wine's process trace
    python3 - "$1" <<'PY'
import re, sys
for line in open(sys.argv[1], errors="replace"):
    found = re.search(r'CreateProcessInternalW app \S+ cmdline L"(.*)"$', line.rstrip("\n"))
    if found:
        print(found.group(1).replace('\\"', '"').replace("\\\\", "\\"))
PY
}
drive=$prefix/drive_c
dir="$drive/Program Files/Parvolin"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Parvolin.lnk"
# What a run that failed halfway may have left in the shared prefix.
rm -rf "$dir" "$drive/Tools" "$drive/Copy" "$drive/Zip" "$drive/Linked" "$drive/Elsewhere" "$shortcut"
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Parvolin' /f >/dev/null 2>&1 || true
wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$setup")" /f >/dev/null 2>&1 || true

# The installer asks for Windows 10, version 1607 (build 14393), or later.
# Wine takes the version it presents from the registry, as Windows keeps it;
# the prefix gets its own back at the end.
version_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
version_value() {
    wine reg query "$version_key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }'
}
# Kept beside the prefix: a run stopped halfway must not leave a row's version behind.
saved="$prefix.windows-version"
[[ -f $saved ]] || echo "$(version_value CurrentVersion) $(version_value CurrentBuild)" >"$saved"
read -r saved_version saved_build <"$saved"
windows_version() {  # windows_version VERSION BUILD
    local value
    for value in "CurrentVersion $1" "CurrentBuild $2" "CurrentBuildNumber $2"; do
        wine reg add "$version_key" /v ${value% *} /d ${value#* } /f >/dev/null
    done
}
trap 'windows_version "$saved_version" "$saved_build"; rm -rf "$unzipped"' EXIT
while read -r name windows build; do
    windows_version "$windows" "$build"
    expect "on $name the installer ends with 2" "$(run "$setup" /S)" 2
    expect "and installs nothing" "$(exists "$dir")" no
done <<'ROWS'
Windows_7                 6.1  7601
Windows_10_version_1507   10.0 10240
Windows_10_version_1511   10.0 10586
ROWS
windows_version 10.0 14393

expect "on Windows 10, version 1607, the installer ends with 0" "$(run "$setup" /S)" 0
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

# Interactively, with real keys: the installer asks to close the running
# program; Retry, once it is closed, goes on to the pages (Cancel would end
# the run); the finish page's "Run Parvolin" starts it again.
installer_window() {  # installer_window TITLE: the id of a visible installer window so named
    found=
    for _ in $(seq 600); do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n $found ]] && break
        sleep 0.1
    done
    echo "$found"
}
# The question's title is the installer's name; its pages' window has a blank after it.
question_title="Parvolin $version Setup" pages_title="Parvolin $version Setup "
start
wine "$setup" &
setup_pid=$!
question=$(installer_window "$question_title")
expect "an interactive install asks to close the running program" "$([[ -n $question ]] && echo yes || echo no)" yes
wine taskkill /im parvolin.exe >/dev/null 2>&1  # as its Close button would
ended 30
expect "which the user then closes" "$gone" yes
timeout 5 xdotool windowfocus --sync "$question" key Return || true  # Retry, the default button
page=$(installer_window "$pages_title")
expect "Retry goes on to the installer's pages" \
    "$([[ -n $page ]] && kill -0 "$setup_pid" 2>/dev/null && echo yes || echo no)" yes
# Install, then, once installed (a newer uninstaller), Finish with "Run
# Parvolin" ticked, which starts the program again.
stamp=$(stat -c %Y "$dir/uninstall.exe")
sleep 1  # a rewritten file shows a later time
timeout 5 xdotool windowfocus --sync "$page" key Return || true
for _ in $(seq 600); do (($(stat -c %Y "$dir/uninstall.exe") > stamp)) && break; sleep 0.1; done
# The finish page follows once the files are written; until then Return
# finds no button to press, so it is pressed until the program shows.
started=
for _ in $(seq 60); do
    timeout 5 xdotool windowfocus --sync "$page" key Return 2>/dev/null || true
    for _ in $(seq 10); do
        started=$(xdotool search --onlyvisible --name '^Parvolin$' 2>/dev/null | head -n 1) && [[ -n $started ]] && break 2
        sleep 0.1
    done
done
expect "Run Parvolin on the finish page starts the program" "$([[ -n $started ]] && echo yes || echo no)" yes
for _ in $(seq 600); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$setup_pid" 2>/dev/null || true
status=0
wait "$setup_pid" || status=$?
expect "and the install ends with 0" "$status" 0
wine taskkill /f /im parvolin.exe >/dev/null 2>&1 || true
wineserver --wait

# Only the copy whose file is replaced is closed; one unzipped elsewhere runs on.
mkdir -p "$drive/Zip"
cp -r "$unzipped"/* "$drive/Zip/"
start "$drive/Zip/$folder/parvolin.exe"
zip_pid=$pid
expect "a copy started from the zip opens its window" "$([[ -n $window ]] && echo yes || echo no)" yes
start
expect "installing over the running program succeeds" "$(run "$setup" /S)" 0
ended 30
expect "after closing it" "$gone" yes
sleep 1  # a copy asked to close would be gone by now
expect "and leaves a copy started from elsewhere running" \
    "$(xdotool search --all --onlyvisible --pid "$zip_pid" --name '^Parvolin$' 2>/dev/null | grep -c .)" 1
kill "$zip_pid" 2>/dev/null || true
wait "$zip_pid" || true

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
ended 30

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

# The uninstaller changes nothing outside the installation Apps names: a
# folder without Parvolin (a typo), or a copy of the installed folder.
mkdir -p "$drive/Tools" "$drive/Copy"
cp -r "$dir" "$drive/Copy/"
while read -r name folder_given; do
    expect "uninstalling with $name ends with 2" "$(run "$dir/uninstall.exe" /S "_?=$folder_given")" 2
    expect "and leaves the program, its shortcut and its entry" \
        "$(exists "$dir/parvolin.exe")$(exists "$dir/uninstall.exe")$(exists "$shortcut")$(registry DisplayName)" \
        yesyesyesParvolin
done <<'ROWS'
a_folder_without_Parvolin     C:\Tools
a_copy_of_the_installation    C:\Copy\Parvolin
ROWS
expect "and the copy as it was" "$(exists "$drive/Copy/Parvolin/parvolin.exe")" yes
rm -rf "$drive/Copy" "$drive/Tools"

# The README's recipe for scripts, as written, with the program running.
python3 -c 'import sys; sys.stdout.write("".join(l[4:] for l in open(sys.argv[1], newline="") if l.startswith("    ")))' \
    "$unzipped/$folder/README.txt" >"$drive/uninstall-parvolin.cmd"
expect "the administrators' notes give the same recipe" \
    "$(tr -d '\r' <"$drive/uninstall-parvolin.cmd")" \
    "$(python3 -c 'import re, sys; print(next(b for b in re.findall(r"```bat\n(.*?)```", open(sys.argv[1]).read(), re.S) if "_?=" in b), end="")' \
        "$(dirname "$0")/../../docs/windows-install.md")"
start
expect "the README's uninstall recipe ends with 0" "$(run cmd /c 'C:\uninstall-parvolin.cmd' | tail -n 1)" 0
ended 30
expect "and closes the running program" "$gone" yes
expect "and removes the folder" "$(exists "$dir")" no
expect "and the shortcut" "$(exists "$shortcut")" no
expect "and the Add/Remove Programs entry" "$(registry DisplayName)" ""
expect "and leaves no copy of the uninstaller" "$(find "$drive/users" -iname 'parvolin-uninstall.exe' | wc -l)" 0
rm "$drive/uninstall-parvolin.cmd"

# A junction or a symbolic link leads to a folder of someone else's choice,
# whose rights the installer would set and into which it would write: such a
# folder, or one below it, is refused. Wine shows a Unix symbolic link to a
# folder as such a link (a reparse point), as Windows shows a junction.
mkdir -p "$drive/Elsewhere/Deeper"
ln -s "$drive/Elsewhere" "$drive/Linked"
while read -r name folder_given; do
    expect "installing into $name ends with 2" "$(run "$setup" /S "/D=$folder_given")" 2
    expect "and writes nothing where it leads" "$(find "$drive/Elsewhere" -mindepth 1 ! -path '*/Deeper' | wc -l)" 0
done <<'ROWS'
a_symbolic_link               C:\Linked
a_folder_below_one            C:\Linked\Deeper
ROWS
rm -rf "$drive/Linked" "$drive/Elsewhere"
# A Parvolin folder someone else made (it could hold hard links to files
# elsewhere, whose rights would change with its own) is not taken over.
mkdir -p "$drive/Tools/Parvolin"
printf 'theirs\r\n' >"$drive/Tools/Parvolin/theirs.txt"
expect "installing into a Parvolin folder already there ends with 2" "$(run "$setup" /S '/D=C:\Tools')" 2
expect "and leaves it as it was" "$(ls "$drive/Tools/Parvolin")" theirs.txt
rm -rf "$drive/Tools"

# A folder of the user's: the program's files go into a folder of their own
# there, whose rights the installer sets: owned by Administrators, changed by
# SYSTEM and Administrators, read and run by Users, nothing from the drive's
# root. A new folder is made with these rights (no icacls, which would set
# them only after it is made); the folder of an earlier installation gets
# them from icacls. Wine keeps no rights on files: the commands that set them are read
# from its process trace.
tools="$drive/Tools/Parvolin"
mkdir -p "$drive/Tools"
printf 'mine\r\n' >"$drive/Tools/README.txt"
printf 'mine\r\n' >"$drive/Tools/LICENSE.txt"
WINEDEBUG=-all,+process wine "$setup" /S '/D=C:\Tools' 2>"$unzipped/trace" || true
expect "installing into C:\\Tools puts the program into C:\\Tools\\Parvolin" \
    "$(exists "$tools/parvolin.exe")$(exists "$tools/README.txt")$(registry InstallLocation)" 'yesyesC:\Tools\Parvolin'
expect "and leaves the user's own files there as they were" "$(cat "$drive/Tools/README.txt" "$drive/Tools/LICENSE.txt")" $'mine\r\nmine\r'
expect "and makes the folder with its rights, running no icacls" \
    "$(commands "$unzipped/trace" | grep -ic '^"[^"]*icacls.exe"')" 0
# An update finds the copy installed elsewhere and replaces it there.
expect "an update goes to the folder installed into" \
    "$(WINEDEBUG=-all,+process run "$setup" /S 2>"$unzipped/trace")$(exists "$dir")" 0no
expect "which the entry still names" "$(registry InstallLocation)" 'C:\Tools\Parvolin'
expect "and sets the rights of the folder that was there" "$(commands "$unzipped/trace" | grep -i '^"[^"]*icacls.exe"')" \
'"C:\windows\system32\icacls.exe" "C:\Tools\Parvolin" /setowner *S-1-5-32-544 /T /Q
"C:\windows\system32\icacls.exe" "C:\Tools\Parvolin" /reset /T /Q
"C:\windows\system32\icacls.exe" "C:\Tools\Parvolin" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /Q'
# The installed folder swapped for a link to it: the uninstaller would delete
# from wherever the link leads.
mv "$tools" "$drive/Tools/Moved"
ln -s "$drive/Tools/Moved" "$tools"
expect "uninstalling through a symbolic link ends with 2" \
    "$(run "$tools/uninstall.exe" /S '_?=C:\Tools\Parvolin')" 2
expect "and deletes nothing where it leads" "$(LC_ALL=C ls "$drive/Tools/Moved" | tr '\n' ' ')" 'LICENSE.txt README.txt parvolin.exe uninstall.exe '
rm "$tools"
mv "$drive/Tools/Moved" "$tools"
# As Apps runs it: the uninstaller goes on from a copy of itself.
wine "$tools/uninstall.exe" /S
wineserver --wait
expect "its uninstaller removes the program's folder" "$(exists "$tools")$(registry DisplayName)" no
expect "and leaves the user's own files" "$(cat "$drive/Tools/README.txt" "$drive/Tools/LICENSE.txt")" $'mine\r\nmine\r'
rm -rf "$drive/Tools"

wineserver --kill 2>/dev/null || true
echo "$passes passed, $failures failed"
[[ $failures == 0 ]] || exit 1
