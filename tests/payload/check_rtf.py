#!/usr/bin/python3
"""Checks the kit's four RTF report templates.

    /usr/bin/python3 tests/payload/check_rtf.py <folder with the four files>

First the sources: opening, line breaks, bytes, braces, placeholders, font,
colour and style tables, information group, page setup, text and tables as a
small RTF reader sees them, and file sizes. Then real readers: unrtf parses
each file, LibreOffice converts all four to PDF in one run, and the PDFs'
page sizes and texts are checked. Prints every failure; exit status 1 if any.
Needs unrtf, poppler-utils and LibreOffice Writer; standard library only.
"""

import collections
import os
import re
import subprocess
import sys
import tempfile

OPENING = b"{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033"
COLOURS = ("{\\colortbl;" + "".join("\\red%d\\green%d\\blue%d;" % c for c in [
    (0, 0, 0), (0, 0, 255), (0, 255, 255), (0, 255, 0), (255, 0, 255), (255, 0, 0),
    (255, 255, 0), (255, 255, 255), (0, 0, 128), (0, 128, 128), (0, 128, 0), (128, 0, 128),
    (128, 0, 0), (128, 128, 0), (128, 128, 128), (192, 192, 192)]) + "}")
VARIANTS = {"": 0, " CE": 238, " Cyr": 204, " Greek": 161, " Tur": 162, " Baltic": 186}
FAMILIES = {"Times New Roman": "froman", "Arial": "fswiss"}
# Bytes whose letter differs between code pages 1250 and 1252 (a, s, t with
# breve or cedilla): outside a charset-238 font a reader shows the wrong letter.
CE_ONLY = set(b"\xe3\xc3\xba\xaa\xfe\xde")
INFO_WORDS = ["author", "operator", "company", "creatim", "revtim", "nofpages", "nofwords", "nofchars"]
FORBIDDEN = re.compile(r"\\(pict|object|objdata|header[lrf]?|footer[lrf]?|field|fldinst|fldrslt|"
                       r"bkmkstart|bkmkend|formfield|ffname|shp|do)(?![a-z])")
CELL, ROW, PAGE, SECT = "\x07", "\x1e", "\x0c", "\x1d"


def slots(*names, times=1):
    return {name: times for name in names}


TEMPLATES = {
    "raport.rtf": dict(
        size=30821, distinct=71, total=72, fonts=["Times New Roman", "Arial"], ce=16, body="Arial",
        slots={**slots("JUDET", "DATA", "Luna", "Anul", "T1", "PRIMAR", "Intocmit", "Data"),
               "PRIMARIA": 2, **slots(*("CL%d" % n for n in range(1, 7))),
               **slots(*("C%dL%d" % (c, n) for c in range(1, 7) for n in range(1, 8))),
               **slots(*("D%dL%d" % (d, n) for d in (1, 2) for n in range(1, 8)))},
        setup=["paperw16840", "paperh11907", "psz9", "margl851", "margr1105", "margt851",
               "margb1797", "sbknone", "cols2", "margbsxn993"], absent=[], landscape=True),
    "Anx3.rtf": dict(
        size=8862, distinct=7, total=8, fonts=["Times New Roman"], ce=16, body="f0", pages=1,
        slots={**slots("CODJUD", "DENUMJUD", "CODUNIT", "DENUMUNIT", "DATA", "NR"), "SUMA": 2},
        setup=["margl1560", "margr758", "margt709"], absent=["margb", "paperw", "paperh"]),
    "Adev1.rtf": dict(
        size=3041, distinct=12, total=12, fonts=["Times New Roman"], ce=17, body="Times New Roman",
        pages=1, romanian=True,
        slots=slots("JUDET", "PRIMARIA", "dl", "Nume", "domiciliat", "Adresa", "JudDom", "CNP",
                    "NU", "Suma", "luna", "Destinatie"),
        setup=["margr900", "margt851"], absent=["paperw", "paperh"]),
    "ModelComunicare.rtf": dict(
        size=8697, distinct=18, total=38, fonts=["Times New Roman", "Arial"], ce=16, body="Arial",
        pages=1, romanian=True,
        slots={**slots("LOCALITATEA", "NRCOM", "DataCom", "X1", "X2", "X3", "X4", "NrDisp",
                       "DataDisp", "DataStart", "Suma", "dlui2", "Nume", "NrCerere", "DataCerere",
                       "Adresa", "Motiv", times=2), "actiune": 4},
        setup=["margr720", "margt567", "margb567", "headery708", "footery708"],
        absent=["paperw", "paperh"]),
}

problems = []


def expect(ok, name, message):
    if not ok:
        problems.append("%s: %s" % (name, message))
    return ok


# ------------------------------------------------------------ RTF source

def group(src, start):
    """The balanced group that opens at src[start]."""
    depth = 0
    for m in re.compile(r"\\.|[{}]", re.S).finditer(src, start):
        if m.group() in "{}":
            depth += 1 if m.group() == "{" else -1
            if depth == 0:
                return src[start:m.end()]
    return src[start:]


def destination(src, word):
    at = src.find("{\\" + word)
    return group(src, at) if at >= 0 else ""


def font_table(src):
    """Font number -> (family, charset, name)."""
    fonts = {}
    table = destination(src, "fonttbl")
    for m in re.finditer(r"\{\\f(\d+)", table[1:]):
        entry = re.sub(r"\{\\\*[^{}]*\}", "", group(table, m.start() + 1))
        family = re.search(r"\\f(nil|roman|swiss|modern|script|decor|tech|bidi)", entry)
        charset = re.search(r"\\fcharset(\d+)", entry)
        name = re.sub(r"\\[a-z]+-?\d* ?", "", entry).strip("{} ;")
        fonts[int(m.group(1))] = ("f" + family.group(1) if family else None,
                                  int(charset.group(1)) if charset else 0, name)
    return fonts


TOKEN = re.compile(r"\\'([0-9a-fA-F]{2})|\\([a-z]+)(-?\d+)? ?|\\([^a-z])|([{}])|[\r\n]+|([^\\{}\r\n]+)")
SKIPPED = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "header", "footer"}
MARKS = {"par": "\n", "line": "\n", "tab": "\t", "cell": CELL, "row": ROW, "page": PAGE, "sect": SECT}


def read_text(src, fonts):
    """The document text as a reader sees it, with each run's font and size:
    a list of (text, font number, half-points); marks carry font None."""
    runs, stack, state = [], [], (0, 24, False)    # font, size, inside a skipped group
    for m in TOKEN.finditer(src):
        hexbyte, word, arg, symbol, brace, text = m.groups()
        font, size, skip = state
        if brace:
            if brace == "{":
                stack.append(state)
            elif stack:
                state = stack.pop()
        elif skip:
            continue
        elif word:
            if word in SKIPPED:
                state = (font, size, True)
            elif word in ("f", "fs"):
                state = (int(arg or 0), size, False) if word == "f" else (font, int(arg or 24), False)
            elif word == "plain":
                state = (0, 24, False)
            elif word in MARKS:
                runs.append((MARKS[word], None, None))
        elif symbol == "*":
            state = (font, size, True)
        elif symbol in ("\\", "{", "}", "~"):
            runs.append((symbol.replace("~", " "), font, size))
        elif hexbyte:
            codepage = "cp1250" if fonts.get(font, (0, 0))[1] == 238 else "cp1252"
            runs.append((bytes([int(hexbyte, 16)]).decode(codepage), font, size))
        elif text:
            runs.append((text, font, size))
    return runs


def table_rows(text):
    """Rows of cells (stripped texts) of every table row in the text."""
    rows = []
    for chunk in text.split(ROW)[:-1]:
        cells = chunk.split(CELL)[:-1]
        if cells:
            cells[0] = cells[0].rsplit("\n", 1)[-1]   # text before the row is not a cell
        rows.append([c.strip() for c in cells])
    return rows


def check_source(name, data, t):
    expect(len(data) == t["size"], name, "size %d bytes, expected %d" % (len(data), t["size"]))
    expect(data.startswith(OPENING), name, "does not begin with the RTF 1 ANSI 1252 opening")
    expect(data.endswith(b"}"), name, "last byte is not the closing brace")
    expect(not re.search(rb"(?<!\r)\n|\r(?!\n)", data), name, "line break other than CR LF")
    expect(max(data, default=0) < 0x80, name, "bytes outside ASCII in the source")
    src = data.decode("latin-1")
    expect(len(group(src, 0)) == len(src), name, "document group does not close at the last byte")
    bad = FORBIDDEN.search(src)
    expect(not bad, name, "contains %s" % (bad and bad.group()))

    # Placeholders: names and counts, whole in the source, no other brackets.
    found = collections.Counter(re.findall(r"\[([A-Za-z0-9]+)\]", src))
    want = t["slots"]
    assert (len(want), sum(want.values())) == (t["distinct"], t["total"]), name
    expect(found == want, name, "placeholders differ: missing %s, unexpected %s" % (
        dict(collections.Counter(want) - found), dict(found - collections.Counter(want))))
    expect(src.count("[") == src.count("]") == t["total"], name,
           "square brackets outside the placeholders")

    # Tables of fonts, colours and styles; the information group.
    fonts = font_table(src)
    wanted = {base + suffix: (FAMILIES[base], charset) for base in t["fonts"]
              for suffix, charset in VARIANTS.items()}
    named = {entry[2]: (entry[0], entry[1]) for entry in fonts.values()}
    expect(named == wanted, name, "font table %s, expected %s" % (sorted(named.items()),
                                                                  sorted(wanted.items())))
    for number, font in enumerate(t["fonts"]):
        expect(fonts.get(number, (0, 0, ""))[2] == font, name, "font %d is not %s" % (number, font))
    ce = [n for n, entry in fonts.items() if entry[2] == "Times New Roman CE"]
    expect(ce == [t["ce"]], name, "Times New Roman CE is font %s, expected %d" % (ce, t["ce"]))
    expect(destination(src, "colortbl") == COLOURS, name, "colour table is not the 16 standard colours")
    styles = destination(src, "stylesheet")
    expect(all(s in styles for s in ("Normal;", "heading 1;", "Default Paragraph Font;")), name,
           "stylesheet lacks Normal, heading 1 or Default Paragraph Font")
    info = destination(src, "info")
    missing = [w for w in INFO_WORDS if not re.search(r"\\%s(?![a-z])" % w, info)]
    expect(not missing, name, "information group lacks %s" % missing)
    if name == "raport.rtf":
        expect(re.search(r"\{\\title\s*\[PRIMARIA\]\}", info), name, "title is not [PRIMARIA]")

    # Page setup.
    for word in t["setup"]:
        expect(re.search(r"\\%s(?![a-z0-9])" % word, src), name, "no \\%s" % word)
    for word in t["absent"]:
        expect(not re.search(r"\\%s-?\d" % word, src), name, "has \\%s, which it must leave out" % word)
    if t.get("landscape"):
        expect(len(re.findall(r"\\lndscpsxn(?![a-z])", src)) == 2, name, "not two landscape sections")

    # Letters outside ASCII, and the fonts the text is set in.
    escapes = set(re.findall(r"\\'([0-9a-fA-F]{2})", src))
    if t.get("romanian"):
        expect(any(int(e, 16) in CE_ONLY for e in escapes), name, "no Romanian diacritics")
    else:
        expect(escapes <= {"85"}, name, "hex escapes other than the ellipsis: %s" % sorted(escapes))
    runs = read_text(src, fonts)
    used = {f for _, f, _ in runs if f is not None}
    expect(used <= set(fonts), name, "text in fonts missing from the table: %s" % (used - set(fonts)))
    wrong = {c for text, f, _ in runs if f is not None and fonts.get(f, (0, 0))[1] != 238
             for c in text.encode("cp1252", "replace") if c in CE_ONLY}
    expect(not wrong, name, "Romanian letters outside a CE font: %s" % wrong)
    letters = [(f, s) for text, f, s in runs if f is not None for c in text if c.isalnum()]
    if t["body"] == "f0":
        expect(used <= {0}, name, "text in fonts other than font 0: %s" % (used - {0}))
    else:
        in_body = sum(1 for f, _ in letters if fonts.get(f, (0, 0, ""))[2].startswith(t["body"]))
        expect(in_body >= 0.9 * len(letters), name, "text not set in %s" % t["body"])
    if name == "ModelComunicare.rtf":
        expect(sum(1 for _, s in letters if s == 22) > len(letters) / 2, name, "text mostly not 11 pt")
    text = "".join(r[0] for r in runs)
    check_layout(name, text, table_rows(text))
    # Placeholders a reader shows: all but those of the information group.
    return found - collections.Counter(re.findall(r"\[([A-Za-z0-9]+)\]", info))


def check_layout(name, text, rows):
    """Content and tables as the reader sees them."""
    if name == "Anx3.rtf":
        expect("Anexa nr.3" in text and "CENTRALIZATOR" in text, name, "heading or title missing")
        ok = (len(rows) == 16 and all(len(r) == 5 for r in rows) and rows[2][:2] == ["1.", "[NR]"]
              and rows[2][4] == "[SUMA]" and all(r == [""] * 5 for r in rows[3:15])
              and rows[15][0] == "TOTAL" and rows[15][2:] == ["X", "X", "[SUMA]"])
        expect(ok, name, "table is not 2 heading rows, row 1., 12 blank rows and TOTAL, "
                         "5 cells each: %s" % rows)
    elif name == "Adev1.rtf":
        order = re.findall(r"\[[A-Za-z0-9]+\]", text)
        expect(order == ["[%s]" % p for p in TEMPLATES[name]["slots"]], name,
               "placeholders out of order: %s" % order)
        expect(re.search(r"\[CNP\],\[NU\][^\W\d]", text), name, "[NU] not between ',' and a word")
        lines = [line for line in text.split("\n") if line.strip()]
        expect(lines and re.fullmatch(r"PRIMAR,\t+SECRETAR,\t+REFERENT,", lines[-1].strip()), name,
               "last line is not PRIMAR, SECRETAR, REFERENT separated by tabs")
        expect(not rows, name, "has a table")
    elif name == "ModelComunicare.rtf":
        copies = re.split(r"\n_{20,}\n", text)
        each = {p: n // 2 for p, n in TEMPLATES[name]["slots"].items()}
        expect(len(copies) == 2 and all(collections.Counter(re.findall(
            r"\[([A-Za-z0-9]+)\]", c)) == each and "COMUNICARE" in c and "PRIMAR," in c
            for c in copies), name, "not two like notices parted by a line of underscores")
        expect([r[2] for r in rows] == ["[X%d]" % n for n in (1, 2, 3, 4)] * 2
               and all(len(r) == 3 for r in rows), name, "tables are not 4 rows x 3 cells "
                                                         "with [X1]..[X4] last: %s" % rows)
    elif name == "raport.rtf":
        expect(text.count(SECT) == 1, name, "not two sections")
        last, first = text.rfind("[C6L7]"), text.find("[D1L1]")
        expect(PAGE in text[last:first] if 0 <= last < first else False, name,
               "no page break before the table of aid paid")


# ------------------------------------------------------------ RTF readers

def run(args, name):
    try:
        done = subprocess.run(args, capture_output=True, timeout=600)
    except (OSError, subprocess.TimeoutExpired) as error:
        expect(False, name, "%s failed: %s" % (args[0], error))
        return ""
    expect(done.returncode == 0, name, "%s exit status %d: %s" % (
        args[0], done.returncode, done.stderr.decode(errors="replace")[-300:]))
    return done.stdout.decode("utf-8", "replace")


def check_readers(folder, visible):
    for name in visible:
        text = run(["unrtf", "--text", os.path.join(folder, name)], name)
        gone = [p for p in visible[name] if "[%s]" % p not in text]
        expect(not gone, name, "unrtf text lacks %s" % gone)

    with tempfile.TemporaryDirectory() as tmp:
        run(["soffice", "-env:UserInstallation=file://%s/profile" % tmp, "--headless",
             "--convert-to", "pdf", "--outdir", tmp] + [os.path.join(folder, n) for n in visible],
            "LibreOffice")
        for name, slots_shown in visible.items():
            t, pdf = TEMPLATES[name], os.path.join(tmp, name[:-4] + ".pdf")
            if not expect(os.path.exists(pdf), name, "LibreOffice made no PDF"):
                continue
            sizes = [(float(w), float(h)) for w, h in re.findall(
                r"Page\s+\d+ size:\s+([\d.]+) x ([\d.]+)", run(["pdfinfo", "-l", "999", pdf], name))]
            paper = [(842, 595)] if t.get("landscape") else [(595, 842), (612, 792)]
            expect(sizes and all(any(abs(w - pw) <= 1 and abs(h - ph) <= 1 for pw, ph in paper)
                                 for w, h in sizes), name, "page sizes %s, expected %s" % (sizes, paper))
            if "pages" in t:
                expect(len(sizes) == t["pages"], name, "%d pages, expected %d" % (len(sizes), t["pages"]))
            text = run(["pdftotext", pdf, "-"], name)
            shown = collections.Counter(re.findall(r"\[([A-Za-z0-9]+)\]", text))
            expect(shown == slots_shown, name, "PDF placeholders differ: missing %s, unexpected %s" % (
                dict(slots_shown - shown), dict(shown - slots_shown)))
            if t.get("romanian"):
                expect(re.search("[ăşţșțĂŞŢȘȚ]", text) and not re.search("[ãºþªÞÃ]", text), name,
                       "PDF does not show the Romanian letters right")


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    visible = {}
    for name, t in TEMPLATES.items():
        path = os.path.join(argv[1], name)
        if expect(os.path.isfile(path), name, "missing"):
            with open(path, "rb") as f:
                visible[name] = check_source(name, f.read(), t)
    check_readers(argv[1], visible)
    for line in problems:
        print("FAIL", line)
    print("%d templates checked, %d problems" % (len(visible), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
