#!/usr/bin/env bash
# Checks that every tracked C++ file follows .clang-format, as clang-format 14
# would write it; lists the first differences otherwise.
# Usage: check-format.sh SOURCE_DIR CLANG_FORMAT
set -euo pipefail
cd "$1"
if ! mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null) || ((${#files[@]} == 0)); then
    # Not a git checkout (an unpacked archive): every C++ file outside the builds.
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
"$2" --dry-run --Werror "${files[@]}" 2>&1 | head -40
exit "${PIPESTATUS[0]}"
