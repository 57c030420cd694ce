#!/usr/bin/env python3
"""Writes samples/archive.zip, the small archive the README lists with `zip list`, and
samples/demos/demo_pack.zip, which holds the sample demos (made first by
make_demo_samples.py) under other names, one in a sub-folder and one at the root.

Run from anywhere: python3 samples/make_archive_samples.py. Times and order are fixed, so
the output is the same on every run with the same zlib.
"""
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
WHEN = (2001, 5, 3, 17, 4, 8)

README = (
    "Reelwright sample archive\r\n"
    "\r\n"
    "A small archive for trying the archive reader: one member stored, the others\r\n"
    "deflated, and two of them in the folder demos/.\r\n"
) * 4

CONFIG = "".join(
    'bind F%d "vstr demo%d"\r\nset demo%d "demo rwttmp%02d; set nextdemo vstr demo%d"\r\n'
    % (i, i, i, i, i + 1)
    for i in range(1, 13)
)

NOTES = "Point of view: sarge\r\nRating: 5\r\n"

MEMBERS = [
    ("readme.txt", README, zipfile.ZIP_DEFLATED),
    ("demos/", "", zipfile.ZIP_STORED),
    ("demos/notes.txt", NOTES, zipfile.ZIP_STORED),
    ("demos/playback.cfg", CONFIG, zipfile.ZIP_DEFLATED),
]


PACKED_DEMOS = [
    ("matches/archived_ffa.dm_48", "sample_ffa.dm_48", zipfile.ZIP_DEFLATED),
    ("archived_tdm.dm3", "sample_tdm.dm3", zipfile.ZIP_STORED),
]


def write_demo_pack():
    demos = os.path.join(HERE, "demos")
    path = os.path.join(demos, "demo_pack.zip")
    with zipfile.ZipFile(path, "w") as archive:
        for name, source, method in PACKED_DEMOS:
            info = zipfile.ZipInfo(name, WHEN)
            info.compress_type = method
            info.create_system = 0
            info.external_attr = 0x20
            with open(os.path.join(demos, source), "rb") as demo:
                archive.writestr(info, demo.read())
    print(path)


def main():
    path = os.path.join(HERE, "archive.zip")
    with zipfile.ZipFile(path, "w") as archive:
        for name, text, method in MEMBERS:
            info = zipfile.ZipInfo(name, WHEN)
            info.compress_type = method
            info.create_system = 0
            info.external_attr = 0x10 if name.endswith("/") else 0x20
            archive.writestr(info, text.encode("cp1252"))
    print(path)
    write_demo_pack()


if __name__ == "__main__":
    main()
