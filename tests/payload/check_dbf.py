#!/usr/bin/python3
"""Checks the five committed DBF table templates.

    /usr/bin/python3 tests/payload/check_dbf.py <payload/files folder> <repo root>

1. tools/make_dbf.py, run into a temporary folder, reproduces the committed
   files byte for byte (so neither drifts from the other);
2. the independent reader dbfread (Debian's python3-dbfread) opens each one
   with 0 records and exactly the expected fields;
3. the raw header bytes a reader does not insist on: version, date, code page
   mark, lengths, descriptor padding and offsets, terminator, backlink, EOF.
"""

import os
import subprocess
import sys
import tempfile

import dbfread

# Expected layouts, written out independently of the generator.
# file: (version, date bytes, code page mark, header length, record length,
#        file size, "NAME TYPE LENGTH[.DECIMALS] ...")
_FIRST = "LN N2 AN N4 CF C13 RJ C3 RN N5 RA N4 "
_LAST = " NREP C30 PREP C30"
EXPECTED = {
    "1a.dbf": (0x03, (108, 12, 17), 0x00, 545, 208, 546, _FIRST +
               "CNP N13 NUME C30 PRENUME C30 CAT C3 ANG D8 PL D8 SDL N12 "
               "SVL N12" + _LAST),
    "1b.dbf": (0x03, (108, 12, 17), 0x00, 449, 181, 450, _FIRST +
               "CNP N13 CNPC N13 NUMEC C30 PRENUMEC C30 TIPC C3" + _LAST),
    "1c.dbf": (0x03, (108, 12, 17), 0x00, 449, 142, 450, _FIRST +
               "CAS_ASIG C2 SDLA N12 SVTA N12 SDL_ASIG N12 SVT_ASIG N12" +
               _LAST),
    "ModelFin.dbf": (0x30, (9, 4, 3), 0x03, 552, 114, 552,
                     "CODJUD C2 CODFISC C10 CNP C13 NUME C30 PRENUME C30 "
                     "VENIT N10.2 SUMA N10.2 DATA_PREL D8"),
    "modeltrz.dbf": (0x30, (8, 11, 27), 0x03, 584, 117, 584,
                     "CODJUD C2 CODFISC C10 CNP C13 CODAJUT C3 NUMEPREN C60 "
                     "NRPERS N2 SUMA N10.2 DTPLATCRT D8 DATA_PREL D8"),
}

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
    return ok


def parse_fields(text):
    """'SUMA N10.2' -> ('SUMA', 'N', 10, 2)"""
    words = text.split()
    fields = []
    for name, code in zip(words[0::2], words[1::2]):
        length, _, decimals = code[1:].partition(".")
        fields.append((name, code[0], int(length), int(decimals or 0)))
    return fields


def check_regenerated(folder, root):
    with tempfile.TemporaryDirectory() as tmp:
        run = subprocess.run([sys.executable,
                              os.path.join(root, "tools", "make_dbf.py"), tmp],
                             capture_output=True, text=True)
        if not check(run.returncode == 0,
                     "make_dbf.py failed: " + run.stderr.strip()):
            return
        made = sorted(os.listdir(tmp))
        check(made == sorted(EXPECTED),
              "make_dbf.py wrote %s, expected %s" % (made, sorted(EXPECTED)))
        for name in made:
            with open(os.path.join(tmp, name), "rb") as f:
                fresh = f.read()
            path = os.path.join(folder, name)
            committed = open(path, "rb").read() if os.path.exists(path) else None
            check(fresh == committed,
                  "%s: committed file differs from make_dbf.py output" % name)


def check_with_reader(name, path, fields):
    table = dbfread.DBF(path, load=True)
    check(len(table.records) == 0 and table.header.numrecords == 0,
          "%s: dbfread sees %d records" % (name, len(table.records)))
    seen = [(f.name, f.type, f.length, f.decimal_count) for f in table.fields]
    if seen != fields:
        diff = ["#%d %s, expected %s" % (i + 1, got, want) for i, (got, want)
                in enumerate(zip(seen, fields)) if got != want]
        if len(seen) != len(fields):
            diff.append("%d fields, expected %d" % (len(seen), len(fields)))
        check(False, "%s: dbfread fields differ: %s" % (name, "; ".join(diff)))


def check_raw(name, data, layout, fields):
    version, date, code_page, header_len, record_len, size, _ = layout
    u16 = lambda at: int.from_bytes(data[at:at + 2], "little")
    u32 = lambda at: int.from_bytes(data[at:at + 4], "little")
    if not check(len(data) == size,
                 "%s: %d bytes, expected %d" % (name, len(data), size)):
        return
    facts = {
        "version byte": (data[0], version),
        "date bytes": (tuple(data[1:4]), date),
        "record count": (u32(4), 0),
        "header length": (u16(8), header_len),
        "record length": (u16(10), record_len),
        "reserved bytes 12-27 and table flags": (data[12:29], bytes(17)),
        "code page mark": (data[29], code_page),
        "reserved bytes 30-31": (data[30:32], bytes(2)),
    }
    for what, (got, want) in facts.items():
        check(got == want, "%s: %s is %r, expected %r" % (name, what, got, want))

    foxpro = version == 0x30
    offset = 1
    for i, (fname, _, length, _) in enumerate(fields):
        d = data[32 + 32 * i:64 + 32 * i]
        want_offset = offset if foxpro else 0
        check(d[:11] == fname.encode().ljust(11, b"\0"),
              "%s: descriptor %d name bytes %r" % (name, i + 1, d[:11]))
        check(u32(32 + 32 * i + 12) == want_offset,
              "%s: %s offset %d, expected %d"
              % (name, fname, u32(32 + 32 * i + 12), want_offset))
        check(d[18:] == bytes(14),
              "%s: %s descriptor bytes 18-31 not zero" % (name, fname))
        offset += length
    end = 32 + 32 * len(fields)
    check(data[end] == 0x0D, "%s: no 0x0D after the last descriptor" % name)
    if foxpro:
        check(data[end + 1:] == bytes(263) and end + 1 + 263 == header_len,
              "%s: backlink area is not 263 zero bytes ending the header"
              % name)
    else:
        check(end + 1 == header_len and data[header_len:] == b"\x1a",
              "%s: header is not followed by exactly one 0x1A" % name)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: check_dbf.py <payload files folder> "
                         "<repo root>\n")
        return 2
    folder, root = argv[1], argv[2]
    check_regenerated(folder, root)
    for name, layout in EXPECTED.items():
        path = os.path.join(folder, name)
        if not check(os.path.isfile(path), "%s: missing in %s" % (name, folder)):
            continue
        fields = parse_fields(layout[6])
        check(sum(f[2] for f in fields) + 1 == layout[4],
              "%s: expected field lengths don't add up" % name)
        with open(path, "rb") as f:
            check_raw(name, f.read(), layout, fields)
        try:
            check_with_reader(name, path, fields)
        except Exception as e:  # a reader that can't open it is a failure too
            check(False, "%s: dbfread cannot open it: %s" % (name, e))
    if failures:
        sys.stderr.write("DBF templates: %d check(s) failed\n  " % len(failures))
        sys.stderr.write("\n  ".join(failures) + "\n")
        return 1
    print("DBF templates: %d files OK (regenerated byte for byte, "
          "read by dbfread, header bytes checked)" % len(EXPECTED))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
