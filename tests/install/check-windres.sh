#!/usr/bin/env bash
# Compiles the Windows version resource with the cross resource compiler and
# checks what it records, although no Windows build runs here.
set -euo pipefail
rc=$1 include=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The host preprocessor, told it is preprocessing for 64-bit Windows, reads
# the MinGW headers; no cross compiler is needed.
x86_64-w64-mingw32-windres \
    --preprocessor=cpp --preprocessor-arg=-I/usr/share/mingw-w64/include \
    --preprocessor-arg=-DRC_INVOKED --preprocessor-arg=-D_WIN32 --preprocessor-arg=-D_WIN64 \
    -I "$include" -I "$(dirname "$rc")" -i "$rc" -O res -o "$work/parvolin.res"

python3 - "$work/parvolin.res" <<'PY'
import struct, sys

# A .res file is a run of records: data size, header size, type, name, ...
def ordinal_or_name(data, at):
    if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2

data = open(sys.argv[1], "rb").read()
records, at = [], 0
while at + 8 <= len(data):
    data_size, header_size = struct.unpack_from("<II", data, at)
    kind, _ = ordinal_or_name(data, at + 8)
    records.append((kind, data[at + header_size:at + header_size + data_size]))
    at = (at + header_size + data_size + 3) & ~3

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
checks = []
version = b"".join(body for kind, body in records if kind == RT_VERSION)
for text in ["Parvolin", "1.00", "040904B0", "parvolin.exe"]:
    checks.append((text.encode("utf-16-le") in version, f"the version record holds {text}"))
at = version.find(struct.pack("<I", 0xFEEF04BD))
numbers = struct.unpack_from("<IIII", version, at + 8) if at >= 0 else None
checks.append((numbers == (0x00010000, 0, 0x00010000, 0), f"file and product version 1.0.0.0 {numbers}"))
icons = sum(1 for kind, _ in records if kind == RT_ICON)
groups = sum(1 for kind, _ in records if kind == RT_GROUP_ICON)
checks.append((icons == 18 and groups == 1, f"one icon group of 18 images ({groups}, {icons})"))
for ok, what in checks:
    print(("ok" if ok else "FAILED") + ": " + what)
sys.exit(0 if all(ok for ok, _ in checks) else 1)
PY
