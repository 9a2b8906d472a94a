#!/usr/bin/env python3
"""Writes the five empty DBF table templates the kit carries.

    python3 tools/make_dbf.py <out folder>

1a.dbf, 1b.dbf and 1c.dbf are dBASE III tables (version 0x03, no code page
mark, closed by one 0x1A end-of-file byte); ModelFin.dbf and modeltrz.dbf are
Visual FoxPro free tables (version 0x30, code page mark 0x03 for Windows ANSI,
field offsets in the descriptors, a zero 263-byte backlink area, no 0x1A).
All five hold no records. Python 3 standard library only.
"""

import os
import struct
import sys

DBASE3 = 0x03
FOXPRO = 0x30
FOXPRO_BACKLINK = 263
HEADER_END = 0x0D
FILE_END = 0x1A

# (name, type, length, decimals)
_PERIOD_AND_UNIT = [
    ("LN", "N", 2, 0),
    ("AN", "N", 4, 0),
    ("CF", "C", 13, 0),
    ("RJ", "C", 3, 0),
    ("RN", "N", 5, 0),
    ("RA", "N", 4, 0),
]
_REPRESENTATIVE = [
    ("NREP", "C", 30, 0),
    ("PREP", "C", 30, 0),
]

# file name -> (version, (year, month, day) bytes, code page mark, fields)
TABLES = {
    "1a.dbf": (DBASE3, (108, 12, 17), 0x00, _PERIOD_AND_UNIT + [
        ("CNP", "N", 13, 0),
        ("NUME", "C", 30, 0),
        ("PRENUME", "C", 30, 0),
        ("CAT", "C", 3, 0),
        ("ANG", "D", 8, 0),
        ("PL", "D", 8, 0),
        ("SDL", "N", 12, 0),
        ("SVL", "N", 12, 0),
    ] + _REPRESENTATIVE),
    "1b.dbf": (DBASE3, (108, 12, 17), 0x00, _PERIOD_AND_UNIT + [
        ("CNP", "N", 13, 0),
        ("CNPC", "N", 13, 0),
        ("NUMEC", "C", 30, 0),
        ("PRENUMEC", "C", 30, 0),
        ("TIPC", "C", 3, 0),
    ] + _REPRESENTATIVE),
    "1c.dbf": (DBASE3, (108, 12, 17), 0x00, _PERIOD_AND_UNIT + [
        ("CAS_ASIG", "C", 2, 0),
        ("SDLA", "N", 12, 0),
        ("SVTA", "N", 12, 0),
        ("SDL_ASIG", "N", 12, 0),
        ("SVT_ASIG", "N", 12, 0),
    ] + _REPRESENTATIVE),
    "ModelFin.dbf": (FOXPRO, (9, 4, 3), 0x03, [
        ("CODJUD", "C", 2, 0),
        ("CODFISC", "C", 10, 0),
        ("CNP", "C", 13, 0),
        ("NUME", "C", 30, 0),
        ("PRENUME", "C", 30, 0),
        ("VENIT", "N", 10, 2),
        ("SUMA", "N", 10, 2),
        ("DATA_PREL", "D", 8, 0),
    ]),
    "modeltrz.dbf": (FOXPRO, (8, 11, 27), 0x03, [
        ("CODJUD", "C", 2, 0),
        ("CODFISC", "C", 10, 0),
        ("CNP", "C", 13, 0),
        ("CODAJUT", "C", 3, 0),
        ("NUMEPREN", "C", 60, 0),
        ("NRPERS", "N", 2, 0),
        ("SUMA", "N", 10, 2),
        ("DTPLATCRT", "D", 8, 0),
        ("DATA_PREL", "D", 8, 0),
    ]),
}


def field_descriptor(version, name, ftype, length, decimals, offset):
    """One 32-byte field descriptor. Only Visual FoxPro records the field's
    offset within the record (bytes 12-15); every other unused byte is zero."""
    raw_name = name.encode("ascii")
    if len(raw_name) > 10 or not name.isupper():
        raise ValueError("bad field name %r" % name)
    return struct.pack("<11scIBB14x", raw_name, ftype.encode("ascii"),
                       offset if version == FOXPRO else 0, length, decimals)


def table_bytes(version, date, code_page, fields):
    """The whole file of an empty table with the given layout."""
    descriptors = b""
    offset = 1  # the deletion-flag byte comes first in each record
    for name, ftype, length, decimals in fields:
        descriptors += field_descriptor(version, name, ftype, length,
                                        decimals, offset)
        offset += length
    record_length = offset
    header_length = 32 + len(descriptors) + 1
    if version == FOXPRO:
        header_length += FOXPRO_BACKLINK
    # version, date (3 bytes), record count, header length, record length,
    # 16 reserved bytes, table flags, code page mark, 2 reserved bytes
    header = struct.pack("<B3BIHH16xBBxx", version, *date, 0,
                         header_length, record_length, 0x00, code_page)
    data = header + descriptors + bytes([HEADER_END])
    if version == FOXPRO:
        data += bytes(FOXPRO_BACKLINK)
    else:
        data += bytes([FILE_END])
    return data


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_dbf.py <out folder>\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for file_name, layout in TABLES.items():
        with open(os.path.join(out, file_name), "wb") as f:
            f.write(table_bytes(*layout))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
