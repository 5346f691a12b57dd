#!/usr/bin/env python3
"""Points a 64-bit Windows program's load configuration directory at its
_load_config_used record, which GNU ld (2.40) leaves unset.

Usage: set-load-config.py PROGRAM MAP
MAP is the linker's map (-Wl,-Map=MAP), which gives the record's address also
when the program is stripped. The record's own first field is its size. The
header's checksum, if the linker wrote one, is computed again. Running it twice
changes nothing the second time.
"""
import re
import struct
import sys

LOAD_CONFIG_ENTRY = 10
# DependentLoadFlags is the 16-bit field at 0x4E of the record: a record of
# this size or more holds it.
DEPENDENT_LOAD_FLAGS_END = 0x50


def fail(message):
    sys.exit(f"set-load-config.py: {message}")


def record_address(map_text):
    found = re.findall(r"^\s+0x([0-9a-fA-F]+)\s+_load_config_used\s*$", map_text, re.M)
    if len(found) != 1:
        fail(f"the map names _load_config_used {len(found)} times, not once")
    return int(found[0], 16)


def file_offset(image, rva, sections_at, section_count):
    for i in range(section_count):
        entry = sections_at + 40 * i
        virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from(
            "<IIII", image, entry + 8)
        if virtual_address <= rva < virtual_address + min(virtual_size, raw_size):
            return raw_pointer + rva - virtual_address
    fail(f"no section holds the address {rva:#x}")


def pe_checksum(image, checksum_at):
    total = 0
    data = bytes(image[:checksum_at]) + b"\0\0\0\0" + bytes(image[checksum_at + 4:])
    if len(data) % 2:
        data += b"\0"
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return (total & 0xFFFF) + len(image)


def main():
    if len(sys.argv) != 3:
        fail("usage: set-load-config.py PROGRAM MAP")
    program, map_file = sys.argv[1:]
    with open(map_file, encoding="utf-8", errors="replace") as f:
        address = record_address(f.read())
    with open(program, "rb") as f:
        image = bytearray(f.read())

    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        fail(f"{program} is not a PE file")
    section_count, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    if struct.unpack_from("<H", image, optional)[0] != 0x20B:
        fail(f"{program} is not a 64-bit (PE32+) program")
    image_base = struct.unpack_from("<Q", image, optional + 24)[0]
    checksum_at = optional + 64
    if struct.unpack_from("<I", image, optional + 108)[0] <= LOAD_CONFIG_ENTRY:
        fail("the header has no load configuration entry")
    entry_at = optional + 112 + 8 * LOAD_CONFIG_ENTRY

    rva = address - image_base
    record_at = file_offset(image, rva, pe + 24 + optional_size, section_count)
    size = struct.unpack_from("<I", image, record_at)[0]
    if size < DEPENDENT_LOAD_FLAGS_END:
        fail(f"the record's size {size} does not reach DependentLoadFlags")

    struct.pack_into("<II", image, entry_at, rva, size)
    if struct.unpack_from("<I", image, checksum_at)[0] != 0:
        struct.pack_into("<I", image, checksum_at, pe_checksum(image, checksum_at))
    with open(program, "r+b") as f:
        f.write(image)


if __name__ == "__main__":
    main()
