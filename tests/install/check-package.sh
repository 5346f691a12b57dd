#!/usr/bin/env bash
# Builds the Debian package and checks its name, its dependencies (worked out
# by dpkg-shlibdeps, and the Qt platform plugins Qt loads at run time), its
# contents and checksum, that lintian finds no error or warning in it, and
# that its program starts.
set -euo pipefail
build=$1 expected=$2 window_check=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
deb="$work/parvolin_1.00-1_amd64.deb"
[[ -f $deb ]] || { echo "FAILED: no $deb" >&2; ls "$work" >&2; exit 1; }
echo "ok: $(basename "$deb") built"

depends=$(dpkg-deb -f "$deb" Depends)
# qt6-qpa-plugins, and whichever package holds the xcb plugin here.
xcb_plugin=$(dpkg -S "*/qt6/plugins/platforms/libqxcb.so" | cut -d: -f1 | head -n 1)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins "$xcb_plugin"; do
    grep -q "$library" <<<"$depends" || { echo "FAILED: Depends lacks $library: $depends" >&2; exit 1; }
done
echo "ok: Depends: $depends"
# One row a line: the field, and the package it must name.
while read -r field package; do
    value=$(dpkg-deb -f "$deb" "$field")
    grep -qw "$package" <<<"$value" || { echo "FAILED: $field lacks $package: $value" >&2; exit 1; }
    echo "ok: $field: $value"
done <<'ROWS'
Recommends qt6-gtk-platformtheme
Suggests qt6-wayland
ROWS

(cd "$work" && sha256sum -c SHA256SUMS)

# Beside what `cmake --install` installs, the package has its Debian changelog
# and lintian overrides.
diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sed 's|^\./usr/||' | sort) \
    <(printf '%s\n' share/doc/parvolin/changelog.Debian.gz share/lintian/overrides/parvolin |
        cat "$expected" - | sort)
echo "ok: the package holds exactly the expected files under /usr"

lintian --fail-on error,warning --no-tag-display-limit "$deb"
echo "ok: lintian reports no error and no warning"

dpkg-deb -x "$deb" "$work/root"
xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" \
    "$window_check" "$work/root/usr/bin/parvolin"
