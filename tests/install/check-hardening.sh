#!/usr/bin/env bash
# Reads a built program and fails when a hardening feature is missing.
# Linux (ELF): PIE, stack protector, fortified functions, full RELRO with
# immediate binding (hardening-check), and the compiler's stack-clash and
# control-flow protection in every compilation unit (the flags GCC records in
# the debug information). Debian 12's C start files carry no IBT/SHSTK note,
# so no program built there gets one, and hardening-check's "Control flow
# integrity" is "no" for every one of them: the flag is checked instead.
# Windows (PE): ASLR with a high-entropy base, NX, Terminal Server aware, no
# time stamp, static imports searched for in System32 only (the load
# configuration's DependentLoadFlags), GCC's stack protector linked in, only Windows' own DLLs
# imported, under 1 MB. Fortify leaves no mark of its own there (the
# program's code has no copy the compiler cannot size, and libssp keeps
# __chk_fail beside __stack_chk_fail), so the build's compiler and flags are
# tried on a copy they must guard instead.
# Usage: check-hardening.sh PROGRAM [COMPILER "FLAGS"]  (the last two for a PE)
set -euo pipefail
program=$1
failures=0
expect() {  # expect WHAT CONDITION...
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
has() { grep -qE -- "$1" <<<"$2"; }
# The DependentLoadFlags of a PE's load configuration record (16 bits at 0x4E
# of the record the header's entry points at), as 0x hex; "none" without a
# record that reaches them.
dependent_load_flags() {
    local rva size base at bytes
    read -r rva size < <(awk '/^Entry a / { print $3, $4 }' <<<"$header")
    base=$(awk '/^ImageBase/ { print $2 }' <<<"$header")
    if ((16#${rva:-0} == 0 || 16#${size:-0} < 0x50)); then echo none; return; fi
    at=$((16#$base + 16#$rva + 0x4E))
    bytes=$(x86_64-w64-mingw32-objdump -s --start-address=$at --stop-address=$((at + 2)) "$program" |
        awk '/^ [0-9a-f]+ [0-9a-f]+ / { print $2 }')
    printf '%#x\n' $((16#${bytes:2:2}${bytes:0:2}))
}

if [[ $(od -An -tx1 -N4 "$program" | tr -d " ") == 7f454c46 ]]; then
    expect "hardening-check finds no feature missing" hardening-check --nocfprotection "$program"
    producers=$(readelf -p .debug_str "$program" | grep -oE 'GNU C\+\+[^]]*' || true)
    expect "the program has compilation units to read" has 'GNU C\+\+' "$producers"
    for flag in -fstack-protector-strong -fstack-clash-protection -fcf-protection; do
        expect "every compilation unit built with $flag" \
            has '^$' "$(grep -v -- "$flag" <<<"$producers" || true)"
    done
else
    header=$(x86_64-w64-mingw32-objdump -p "$program")
    for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
        expect "DllCharacteristics has $flag" has "^[[:space:]]+$flag" "$header"
    done
    expect "no time stamp in the header" has '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970' "$header"
    expect "static imports load from System32 only: DependentLoadFlags $(dependent_load_flags)" \
        test "$(dependent_load_flags)" = 0x800
    # libssp's message: its stack guard is linked in.
    expect "the stack protector is linked in" grep -qa 'stack smashing detected' "$program"
    probe=$(mktemp -d)
    printf '%s\n' '#include <string.h>' \
        'void copy(char* to, const char* from, size_t n) { char b[8]; memcpy(b, from, n); memcpy(to, b, 8); }' \
        >"$probe/probe.cpp"
    # shellcheck disable=SC2086  # the flags are a list
    "$2" $3 -c "$probe/probe.cpp" -o "$probe/probe.o"
    expect "the build's flags fortify a copy into a fixed buffer" \
        has __memcpy_chk "$(x86_64-w64-mingw32-nm "$probe/probe.o")"
    rm -rf "$probe"
    imports=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$header" | sort -u | tr '\n' ' ')
    expect "imports only Windows' own DLLs: $imports" has \
        '^((kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|ole32|oleaut32|uxtheme|msvcrt|api-ms-win-[a-z0-9-]+)\.dll )+$' \
        "$imports"
    expect "under 1 MB ($(stat -c %s "$program") bytes)" test "$(stat -c %s "$program")" -lt 1048576
fi
echo "$failures failed"
((failures == 0))
