#!/usr/bin/env bash
# The desktop entry and the AppStream metadata validate with no error and no
# warning.
set -euo pipefail
desktop=$1 metainfo=$2

desktop-file-validate "$desktop" | tee /dev/stderr | { ! grep -q .; }
echo "ok: $desktop validates"

report=$(appstreamcli validate --no-net "$metainfo")
echo "$report"
if grep -qE '^[EW]:' <<<"$report"; then
    echo "FAILED: $metainfo has errors or warnings" >&2
    exit 1
fi
echo "ok: $metainfo validates"
