#!/usr/bin/env python3
"""Writes the monthly social-aid report template raport.rtf.

    python3 tools/rtf/make_raport.py <out file>

The report is two landscape A4 pages: the heading and the tables of approved
requests and of aid paid by family type (first section, page break between
the tables), then the emergency-aid and funeral-aid tables and the signature
block set in two columns (second section, no break). The application fills
in the bracketed placeholders; the cells without one stay blank on paper.

The source is ASCII with CR LF line breaks and is padded with blank lines
before the closing brace to the size the kit ships (FILE_SIZE).
Python 3 standard library only.
"""

import os
import sys

# The shared pieces live next to this script.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from rtfcommon import BORDER, DOTS, RO, assemble, colour_table, font_table, info, word_counts

FILE_SIZE = 30821

# Landscape A4 in twips; the text area of the first section is 14884 wide.
PAGE = "\\paperw16840\\paperh11907\\margl851\\margr1105\\margt851\\margb1797"
TEXT_WIDTH = 16840 - 851 - 1105
COLUMN_GAP = 709
COLUMN_WIDTH = (TEXT_WIDTH - COLUMN_GAP) // 2

FAMILY_TYPES = [
    "Persoane singure",
    "Familii de 2 persoane",
    "Familii de 3 persoane",
    "Familii de 4 persoane",
    "Familii de 5 persoane",
    "Familii de peste 5 persoane",
]

PARA = "\\widctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0"


# ---------------------------------------------------------------- header

def stylesheet():
    normal = ("{\\ql \\li0\\ri0%s\\itap0 \\fs24\\lang1033\\langfe1033\\cgrid\\langnp1033\\langfenp1033 "
              "\\snext0 Normal;}" % PARA)
    heading = ("{\\s%d\\%s \\li0\\ri0\\sb%d\\sa%d\\keepn%s\\outlinelevel%d\\itap0 \\b\\f1\\fs%d%s\\cgrid "
               "\\sbasedon0 \\snext0 heading %d;}")
    return ["{\\stylesheet" + normal,
            heading % (1, "ql", 240, 120, PARA, 0, 22, RO, 1),
            heading % (2, "ql", 120, 120, PARA, 1, 20, RO, 2),
            heading % (3, "qc", 0, 0, PARA, 2, 28, RO, 3),
            "{\\*\\cs10 \\additive Default Paragraph Font;}}"]


def document_settings():
    return [PAGE + " \\widowctrl\\ftnbj\\aenddoc\\hyphhotz425\\noxlattoyen\\expshrtn\\noultrlspc"
            "\\dntblnsbdb\\nospaceforul\\hyphcaps0\\formshade\\horzdoc\\dgmargin\\dghspace180\\dgvspace180"
            "\\dghorigin851\\dgvorigin851\\dghshow1\\dgvshow1",
            "\\jexpand\\viewkind1\\viewscale100\\pgbrdrhead\\pgbrdrfoot\\splytwnine\\ftnlytwnine"
            "\\nolnhtadjtbl\\fet0"]


# ------------------------------------------------------------ paragraphs

def para(text, align="ql", size=20, bold=False, before=0, after=0, tabs=""):
    """One Normal paragraph in Arial; text is RTF source on a single line."""
    run = "{\\b %s}" % text if bold and text else text
    return ("\\pard\\plain \\s0\\%s \\li0\\ri0\\sb%d\\sa%d%s%s\\itap0 \\f1\\fs%d%s {%s\\par}"
            % (align, before, after, tabs, PARA, size, RO, run))


def heading(level, text):
    size, before, after, align = {1: (22, 240, 120, "ql"), 2: (20, 120, 120, "ql"),
                                  3: (28, 0, 0, "qc")}[level]
    return ("\\pard\\plain \\s%d\\%s \\li0\\ri0\\sb%d\\sa%d\\keepn%s\\outlinelevel%d\\itap0 "
            "\\b\\f1\\fs%d%s {%s\\par}" % (level, align, before, after, PARA, level - 1, size, RO, text))


# ---------------------------------------------------------------- tables

class Cell:
    def __init__(self, width, text="", merge=None, align="qc", bold=False, italic=False):
        self.width, self.text, self.merge = width, text, merge
        self.align, self.bold, self.italic = align, bold, italic


def row(cells, height=0, header=False, size=18, last=False, spacing=0, room=TEXT_WIDTH):
    """A ruled table row: the row and cell definitions, then the cells' text.

    Each cell draws its top and left rule; the last cell of a row adds the
    right rule and the cells of a table's last row the bottom one, so every
    shared edge is drawn once. The cells of a row share one paragraph format;
    only the alignment changes from cell to cell. Heading rows are of fixed
    height with their text centred vertically; figure rows take their height
    from the paragraph spacing.
    """
    assert sum(cell.width for cell in cells) <= room
    lines = ["\\trowd \\trgaph70%s%s\\trkeep" % ("\\trrh%d" % height if height else "",
                                                 "\\trhdr" if header else "")]
    edge = 0
    for i, cell in enumerate(cells):
        edge += cell.width
        rules = "\\clbrdrt" + BORDER + "\\clbrdrl" + BORDER
        if last:
            rules += "\\clbrdrb" + BORDER
        if i == len(cells) - 1:
            rules += "\\clbrdrr" + BORDER
        merge = {"first": "\\clvmgf", "next": "\\clvmrg", None: ""}[cell.merge]
        lines.append("%s%s%s\\cellx%d" % (merge, "\\clvertalc" if height else "", rules, edge))
    lines.append("\\pard\\plain \\intbl%s\\f1\\fs%d%s " % (
        "\\sb%d\\sa%d" % (spacing, spacing) if spacing else "", size, RO))
    align = None
    for cell in cells:
        text = ""
        if cell.align != align:
            text = "\\" + cell.align + " "
            align = cell.align
        run = cell.text
        if run and (cell.bold or cell.italic):
            run = "{%s%s %s}" % ("\\b" if cell.bold else "", "\\i" if cell.italic else "", run)
        lines.append(text + run + "\\cell ")
    lines.append("\\row")
    return lines


def numbering_row(widths, labels, room=TEXT_WIDTH):
    return row([Cell(w, t, italic=True) for w, t in zip(widths, labels)], 220, True, 14, room=room)


def family_rows(widths, cells_of_row, spacing):
    lines = []
    for n in range(1, 8):
        kind = FAMILY_TYPES[n - 1] if n < 7 else "TOTAL"
        bold = n == 7
        cells = [Cell(widths[0], "%d." % n, bold=bold),
                 Cell(widths[1], kind, align="ql", bold=bold)]
        cells += [Cell(w, t, bold=bold) for w, t in zip(widths[2:], cells_of_row(n))]
        lines += row(cells, last=n == 7, spacing=spacing)
    return lines


def approved_requests_table():
    # Nr. crt., family type, then nine figures per row.
    widths = [620, 2840] + [1260] * 9
    w = widths
    h1 = [Cell(w[0], "Nr. crt.", "first", bold=True),
          Cell(w[1], "Tipul familiei", "first", bold=True),
          Cell(w[2], "Numar cereri aprobate in luna de raportare", "first"),
          Cell(w[3], "Numar cereri aprobate cumulat de la inceputul anului", "first"),
          Cell(w[4] + w[5], "Numar familii beneficiare la sfarsitul lunii"),
          Cell(w[6], "Numar familii beneficiare cumulat de la inceputul anului", "first"),
          Cell(sum(w[7:11]), "Numar persoane din familiile beneficiare")]
    h2 = [Cell(w[0], merge="next"), Cell(w[1], merge="next"), Cell(w[2], merge="next"),
          Cell(w[3], merge="next"),
          Cell(w[4], "total"), Cell(w[5], "din care: cu copii in intretinere"),
          Cell(w[6], merge="next"),
          Cell(w[7], "total"), Cell(w[8], "din care: copii sub 18 ani"),
          Cell(w[9], "persoane apte de munca"),
          Cell(w[10], "persoane care presteaza lucrari de interes local")]

    def figures(n):
        first = "[CL%d]" % n if n < 7 else "[T1]"
        c = ["[C%dL%d]" % (col, n) for col in range(1, 7)]
        return [first, ""] + c[:2] + [""] + c[2:]

    return (row(h1, 400, True, 16) + row(h2, 820, True, 16)
            + numbering_row(widths, ["0", "A", "B", "C", "1", "2", "D", "3", "4", "5", "6"])
            + family_rows(widths, figures, 130))


def aid_paid_table():
    widths = [620, 3840, 2600, 2600, 2600, 2600]
    w = widths
    h1 = [Cell(w[0], "Nr. crt.", "first", bold=True),
          Cell(w[1], "Tipul familiei", "first", bold=True),
          Cell(w[2] + w[3], "Numar familii beneficiare de ajutor social"),
          Cell(w[4] + w[5], "Suma platita (lei)")]
    h2 = [Cell(w[0], merge="next"), Cell(w[1], merge="next"),
          Cell(w[2], "in luna de raportare"), Cell(w[3], "cumulat de la inceputul anului"),
          Cell(w[4], "in luna de raportare"), Cell(w[5], "cumulat de la inceputul anului")]

    def figures(n):
        return ["[D1L%d]" % n, "", "[D2L%d]" % n, ""]

    return (row(h1, 400, True, 16) + row(h2, 400, True, 16)
            + numbering_row(widths, ["0", "A", "1", "2", "3", "4"])
            + family_rows(widths, figures, 60))


def blank_table(first_title, kinds):
    """Cases by kind with blank figures: number and amount, in the month and cumulated."""
    widths = [520, 2480, 1000, 1000, 1000, 1000]
    w = widths
    h1 = [Cell(w[0], "Nr. crt.", "first", bold=True),
          Cell(w[1], first_title, "first", bold=True),
          Cell(w[2] + w[3], "Numar ajutoare acordate"),
          Cell(w[4] + w[5], "Suma acordata (lei)")]
    h2 = [Cell(w[0], merge="next"), Cell(w[1], merge="next"),
          Cell(w[2], "in luna"), Cell(w[3], "cumulat de la inceputul anului"),
          Cell(w[4], "in luna"), Cell(w[5], "cumulat de la inceputul anului")]
    lines = row(h1, 300, True, 16, room=COLUMN_WIDTH) + row(h2, 500, True, 16, room=COLUMN_WIDTH)
    lines += numbering_row(widths, ["0", "A", "1", "2", "3", "4"], COLUMN_WIDTH)
    for n, kind in enumerate(kinds + ["TOTAL"], 1):
        bold = kind == "TOTAL"
        lines += row([Cell(w[0], "%d." % n, bold=bold),
                      Cell(w[1], kind, align="ql", bold=bold)]
                     + [Cell(x) for x in w[2:]], last=kind == "TOTAL", spacing=60,
                     room=COLUMN_WIDTH)
    return lines


# ------------------------------------------------------------- document

def body():
    lines = ["\\sectd\\lndscpsxn\\psz9\\linex0\\headery709\\footery709\\colsx709\\endnhere\\sectdefaultcl "]
    lines.append(para("ROMANIA", bold=True))
    lines.append(para("JUDETUL [JUDET]", bold=True))
    lines.append(para("PRIMARIA [PRIMARIA]", bold=True))
    lines.append(para("Nr. " + DOTS * 8 + " din [DATA]", after=240))
    lines.append(heading(3, "RAPORT STATISTIC"))
    lines.append(para("privind aplicarea prevederilor Legii nr. 416/2001 privind venitul minim garantat, "
                      "cu modificarile si completarile ulterioare", align="qc", size=22, before=60))
    lines.append(para("pentru luna [Luna] anul [Anul]", align="qc", size=22, bold=True, before=120,
                      after=120))
    lines.append(heading(1, "I. Ajutorul social"))
    lines.append(heading(2, "1. Cereri aprobate, pe tipuri de familii"))
    lines += approved_requests_table()
    lines.append(para("Nota: familiile si persoanele se inscriu la tipul de familie corespunzator "
                      "numarului de membri ai familiei la data aprobarii cererii.", size=16, before=120))
    lines.append("\\pard\\plain \\ql \\li0\\ri0%s\\itap0 \\f1\\fs20%s {\\page}" % (PARA, RO))
    lines.append(heading(2, "2. Ajutorul social platit, pe tipuri de familii"))
    lines += aid_paid_table()

    # Second section: same page, two columns.
    lines.append("\\pard\\plain \\ql \\li0\\ri0%s\\itap0 \\f1\\fs8%s" % (PARA, RO))
    lines.append("\\sect\\sectd\\sbknone\\lndscpsxn\\psz9\\margbsxn993\\linex0\\headery709\\footery709"
                 "\\cols2\\colsx%d\\endnhere\\sectdefaultcl " % COLUMN_GAP)
    lines.append(heading(1, "II. Ajutoare de urgenta"))
    lines += blank_table("Situatia care a determinat acordarea ajutorului",
                         ["Calamitati naturale", "Incendii", "Accidente",
                          "Alte situatii deosebite"])
    lines.append("\\pard\\plain \\ql \\li0\\ri0%s\\itap0 \\f1\\fs16%s {\\column}" % (PARA, RO))
    lines.append(heading(1, "III. Ajutoare pentru acoperirea cheltuielilor de inmormantare"))
    lines += blank_table("Persoana decedata, beneficiara de ajutor social",
                         ["Persoana singura", "Membru al unei familii"])

    tabs = "\\tqc\\tx1600\\tqc\\tx5300"
    lines.append(para("Data: [Data]", before=240))
    lines.append(para("\\tab PRIMAR,\\tab Intocmit,", bold=True, before=240, tabs=tabs))
    lines.append(para("\\tab [PRIMAR]\\tab [Intocmit]", before=120, tabs=tabs))
    lines.append(para("\\tab Semnatura " + DOTS * 6 + "\\tab Semnatura " + DOTS * 6, size=16,
                      before=200, tabs=tabs))
    lines.append(para("\\tab L.S.", bold=True, before=120, tabs=tabs))
    return lines


def build():
    content = body()
    words, chars = word_counts(content)
    lines = (font_table([(0, "froman", "Times New Roman", 16), (1, "fswiss", "Arial", 21)],
                        spare_after_cyr=False)
             + [colour_table()] + stylesheet()
             + info("[PRIMARIA]", "Compartiment asistenta sociala", (2011, 2, 14, 9, 20),
                    (2013, 1, 28, 11, 5), 17, 236, 2, words, chars, chars + words - 1)
             + document_settings() + content)
    # An odd padding count drops the optional blank that ends the paper-size
    # control words.
    return assemble(lines, FILE_SIZE, "raport.rtf",
                    lambda source: source.replace(PAGE + " ", PAGE, 1))


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    data = build()
    with open(argv[1], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv)
