#!/usr/bin/env bash
# Installs the build into an empty prefix and checks that exactly the expected
# files arrive, that the desktop finds the icon there, and that the installed
# program starts and closes cleanly.
set -euo pipefail
build=$1 expected=$2 icon_check=$3 window_check=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
diff <(cd "$prefix" && find . -type f -printf '%P\n' | sort) <(sort "$expected")
echo "ok: the install holds exactly the expected files"

# The theme itself (its index.theme) comes from the system, the icon from the prefix.
XDG_DATA_DIRS="$prefix/share:/usr/share" "$icon_check" org.parvolin.Parvolin
xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" \
    "$window_check" "$prefix/bin/parvolin"
