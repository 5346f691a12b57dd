#!/usr/bin/env bash
# What a blind user hears: runs the Linux program under Orca, Debian's screen
# reader, on a private X server, session bus, accessibility bus and speech
# server (audio to libao's null driver), walks the window with the keyboard
# as a user does, and prints what Orca spoke at each step, taken from Orca's
# own debug record. Not part of `make test`: it takes about a minute and
# depends on Orca's timing. docs/screen-reader.md keeps its output.
# Usage: scripts/screen-reader-check.sh [PROGRAM]  (default build/default/app/parvolin)
# Needs: bash scripts/install-deps.sh orca speech-dispatcher speech-dispatcher-espeak-ng
set -euo pipefail
program=$(realpath "${1:-build/default/app/parvolin}")
# Seconds to wait after each step for Orca to finish speaking.
pause=${PARVOLIN_SPEECH_PAUSE:-2}

for tool in Xvfb openbox xdotool dbus-daemon dbus-send orca speech-dispatcher unshare \
    /usr/libexec/at-spi-bus-launcher /usr/lib/speech-dispatcher-modules/sd_espeak-ng; do
    command -v "$tool" >/dev/null || {
        echo "missing $tool: bash scripts/install-deps.sh orca speech-dispatcher speech-dispatcher-espeak-ng" >&2
        exit 1
    }
done
[[ -x $program ]] || { echo "no program at $program: build it first (make build)" >&2; exit 1; }

# Orca will not start beside another Orca of the same user, and --replace
# would kill that one. In a process namespace of its own this Orca sees no
# other, and everything the script starts ends with it.
if [[ -z ${PARVOLIN_SCREEN_READER_NAMESPACE:-} ]]; then
    export PARVOLIN_SCREEN_READER_NAMESPACE=1
    if ((EUID == 0)); then
        exec unshare --pid --fork --mount-proc "$0" "$program"
    fi
    exec unshare --user --map-root-user --pid --fork --mount-proc "$0" "$program"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    # PARVOLIN_ORCA_LOG=FILE keeps Orca's whole debug record.
    [[ -z ${PARVOLIN_ORCA_LOG:-} ]] || cp "$work/orca.log" "$PARVOLIN_ORCA_LOG" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A home of its own: Orca's settings, the speech server's configuration and
# its socket stay inside it, apart from the user's.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_QPA_PLATFORM
unset SPEECHD_ADDRESS WAYLAND_DISPLAY

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)

dbus-daemon --session --address="unix:path=$XDG_RUNTIME_DIR/bus" --nofork --nopidfile \
    --print-address=4 4>"$work/bus" &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/bus ]] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
# What a desktop does when the user turns accessibility on: toolkits, Qt
# among them, then expose their windows on the accessibility bus.
dbus-send --session --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true

# espeak-ng speaks into libao's null driver: no sound card needed.
printf 'default_driver=null\n' >"$HOME/.libao"
cp /etc/speech-dispatcher/modules/espeak-ng.conf "$XDG_CONFIG_HOME/speech-dispatcher/modules/"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'EOF'
AudioOutputMethod "libao"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "en"
EOF
speech-dispatcher --run-single --timeout 0 --config-dir "$XDG_CONFIG_HOME/speech-dispatcher" \
    --log-dir "$work" >/dev/null 2>&1 &
pids+=($!)

# Orca writes its debug record line by line only to a terminal: script(1)
# gives it one, so that each step's speech is in the record once spoken.
script --quiet --flush --command "orca --user-prefs '$work/orca' --debug --debug-file /dev/stdout" \
    /dev/null </dev/null >"$work/orca.log" 2>"$work/orca.out" &
pids+=($!)
for _ in $(seq 300); do grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$work/orca.log" 2>/dev/null && break; sleep 0.1; done
grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$work/orca.log" 2>/dev/null ||
    { echo "Orca did not start:" >&2; cat "$work/orca.out" >&2; exit 1; }

# What Orca spoke since the line count `from` of its record, one quoted
# utterance after another. Its echo of a typed character is left out: the
# record shows what the window says, not the keys.
spoken_since() {
    tail -n +"$(($1 + 1))" "$work/orca.log" |
        tr -d '\r' | sed -n "s/^.*SPEECH OUTPUT: '\(.*\)' \?{'established.*$/\1/p" |
        awk '!/^(.|dot) $/ { sub(/ $/, ""); printf "%s\"%s\"", sep, $0; sep = " " }'
}

log_lines() { wc -l <"$work/orca.log"; }

# One step: its name, then the keys and texts xdotool sends (a word starting
# with "type:" is typed, any other is a key).
step() {
    local name=$1 from
    shift
    from=$(log_lines)
    for action in "$@"; do
        if [[ $action == type:* ]]; then
            xdotool type --delay 80 "${action#type:}"
        else
            xdotool key --delay 80 "$action"
        fi
    done
    sleep "$pause"
    printf '| %s | %s |\n' "$name" "$(spoken_since "$from")"
}

start_program() {
    local from
    from=$(log_lines)
    "$program" >/dev/null 2>&1 &
    program_pid=$!
    local window=
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name '^Parvolin$' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
        sleep 0.1
    done
    [[ -n $window ]] || { echo "the window did not appear" >&2; exit 1; }
    sleep "$pause"
    printf '| start | %s |\n' "$(spoken_since "$from")"
}

stop_program() {
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    sleep 1
}

echo "Orca $(orca --version | sed 's/^[^0-9]*//'), Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null)"
echo
echo "Forward, with Tab, a good calculation, an error, a pick:"
echo
echo '| step | what Orca said |'
echo '|---|---|'
start_program
step "Tab to Weight, first time" Tab
step "type 154" type:154
step "Tab to Height, first time" Tab
step "type 5.75" type:5.75
step "Tab to the weight unit" Tab
step "Tab to the height unit" Tab
step "Tab to Calculate!" Tab
step "Space on Calculate!" space
step "Tab to Status, first time" Tab
step "Tab to BMI, first time" Tab
step "Tab to Method" Tab
step "Tab to Weight, type abc" Tab type:abc
step "Tab, Tab, Tab to the height unit" Tab Tab Tab
step "Tab to Calculate!" Tab
step "Space on Calculate! (a bad weight)" space
step "Enter (closes the message)" Return
step "Shift+Tab to Method" shift+Tab
step "Alt+Down, Down, Enter: Metric picked" alt+Down Down Return
stop_program

echo
echo "Backward, with Shift+Tab, from a fresh window:"
echo
echo '| step | what Orca said |'
echo '|---|---|'
start_program
step "Shift+Tab to BMI, first time" shift+Tab
step "Shift+Tab to Status, first time" shift+Tab
step "Shift+Tab to Calculate!" shift+Tab
step "Shift+Tab to the height unit" shift+Tab
step "Shift+Tab to the weight unit" shift+Tab
step "Shift+Tab to Height, first time" shift+Tab
step "Shift+Tab to Weight, first time" shift+Tab
stop_program
