#!/usr/bin/env python3
"""Packs a folder into a zip whose bytes depend only on the files' contents.

Every entry gets the same time (SOURCE_DATE_EPOCH, in UTC), the entries come
in name order, and no owner, permission or extra field of the build machine
is recorded: the same files give the same zip on any machine.

Usage: reproducible-zip.py ZIP BASE FOLDER EPOCH  (packs BASE/FOLDER as FOLDER/)
"""
import os
import sys
import time
import zipfile

zip_path, base, folder, epoch = sys.argv[1:5]
# Zip times start in 1980 and count in two-second steps, without a time zone.
stamp = time.gmtime(max(int(epoch), 315532800))[:6]
MSDOS, DIRECTORY, ARCHIVE = 0, 0x10, 0x20


def entry(name, attributes):
    info = zipfile.ZipInfo(name, stamp)
    info.create_system = MSDOS  # DOS attributes only, as Windows' own zips
    info.external_attr = attributes
    info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
    return info


names = sorted(os.listdir(os.path.join(base, folder)))
with zipfile.ZipFile(zip_path + ".part", "w") as archive:
    archive.writestr(entry(folder + "/", DIRECTORY), b"")
    for name in names:
        with open(os.path.join(base, folder, name), "rb") as source:
            archive.writestr(entry(f"{folder}/{name}", ARCHIVE), source.read(), compresslevel=9)
os.replace(zip_path + ".part", zip_path)
