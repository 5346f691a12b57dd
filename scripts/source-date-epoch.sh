#!/bin/sh
# Prints the time every artefact of the build carries, in seconds since 1970:
# SOURCE_DATE_EPOCH when the builder sets it, else the last commit's time,
# else (in a tarball from `make dist`) the one git archive wrote into
# cmake/source-date-epoch.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd -P)
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH"
elif [ "$(git -C "$top" rev-parse --show-toplevel 2>/dev/null)" = "$top" ]; then
    git -C "$top" log -1 --format=%ct
else
    head -n 1 "$top/cmake/source-date-epoch"
fi
