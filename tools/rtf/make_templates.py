#!/usr/bin/env python3
"""Writes three of the kit's RTF document templates into a folder.

    python3 tools/rtf/make_templates.py <out folder>

Anx3.rtf             summary of social aid paid under code 101 (Times New Roman)
Adev1.rtf            certificate of the social-aid file (Times New Roman and CE)
ModelComunicare.rtf  notice of a decision on social aid, twice a page (Arial)

The text below is written in Unicode; romanian() turns it into RTF hex escapes
of code page 1250 and sets it in the document's charset-238 (CE) font, so the
sources stay ASCII. The application fills in the bracketed placeholders.
Each file has CR LF line breaks and is padded with blank lines to the size
the kit ships; the closing brace is the last byte.
Python 3 standard library only.
"""

import os
import sys

# The shared pieces live next to this script.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import rtfcommon
from rtfcommon import BORDER, DOTS, RO, assemble, colour_table, font_table, word_counts

PARA = "\\widctlpar\\adjustright"

SIZES = {"Anx3.rtf": 8862, "Adev1.rtf": 3041, "ModelComunicare.rtf": 8697}


# ---------------------------------------------------------------- header

def stylesheet(font, size, headings):
    """Normal, the given headings (level, alignment, size) and Default Paragraph Font."""
    lines = ["{\\stylesheet{%s \\f%d\\fs%d\\lang1048\\cgrid \\snext0 Normal;}" % (PARA, font, size)]
    for level, align, hsize in headings:
        lines.append("{\\s%d\\%s\\keepn%s\\outlinelevel%d \\b\\f%d\\fs%d\\lang1048\\cgrid "
                     "\\sbasedon0 \\snext0 heading %d;}" % (level, align, PARA, level - 1, font, hsize, level))
    lines[-1] += "{\\*\\cs10 \\additive Default Paragraph Font;}}"
    return lines


def info(title, created, revised, version, minutes, counts, printed=None):
    """A one-page template's info group; counts are (words, characters)."""
    words, chars = counts
    return rtfcommon.info(title, "Primaria", created, revised, version, minutes, 1, words, chars,
                          chars + words, printed)


def settings(margins):
    return [margins + " \\widowctrl\\ftnbj\\aenddoc\\hyphcaps0\\viewkind1\\viewscale100 \\fet0"]


# ------------------------------------------------------------------ text

def escaped(text):
    """RTF source for text: letters outside ASCII as \\'xx escapes of code page 1250."""
    out = []
    for ch in text:
        if ch in "\\{}":
            raise ValueError("RTF markup in text: %r" % text)
        out.append(ch if ord(ch) < 128 else "\\'%02x" % ch.encode("cp1250")[0])
    return "".join(out)


def romanian(text, ce_font):
    """Text with diacritics, set in the CE font and marked Romanian."""
    return "{\\f%d%s %s}" % (ce_font, RO, escaped(text))


def para(text, font, size=24, align="ql", bold=False, before=0, after=0, extra=""):
    """One paragraph; text is RTF source on one line."""
    run = "{\\b %s}" % text if bold and text else text
    spacing = ("\\sb%d" % before if before else "") + ("\\sa%d" % after if after else "")
    return ("\\pard\\plain \\%s%s%s%s \\f%d\\fs%d {%s\\par }"
            % (align, spacing, extra, PARA, font, size, run))


def heading(level, text, font, size, align="qc", before=0, after=0):
    spacing = ("\\sb%d" % before if before else "") + ("\\sa%d" % after if after else "")
    return ("\\pard\\plain \\s%d\\%s%s\\keepn%s\\outlinelevel%d \\b\\f%d\\fs%d {%s\\par }"
            % (level, align, spacing, PARA, level - 1, font, size, text))


def row(cells, font, size, height=0, top=False, header=False, middle=False):
    """A table row with single borders; cells are (right edge, alignment, RTF text).
    Each cell draws its left and bottom edge, the last one also its right edge and
    the first row of a table its top edge, so every line is drawn once; middle
    centres the text vertically."""
    edges = []
    for n, (edge, _, _) in enumerate(cells):
        sides = ("t" if top else "") + "lb" + ("r" if n == len(cells) - 1 else "")
        edges.append(("\\clvertalc" if middle else "")
                     + "".join("\\clbrdr%s%s" % (side, BORDER) for side in sides) + "\\cellx%d" % edge)
    text, align = "", None
    for _, cell_align, cell_text in cells:
        if cell_align != align:
            text += ("\\pard\\%s\\intbl " % cell_align) if align else ""
            align = cell_align
        text += cell_text + "\\cell "
    return ["\\trowd \\trgaph70%s%s" % ("\\trrh%d" % height if height else "", "\\trhdr" if header else "")
            + "".join(edges),
            "\\pard\\plain \\%s\\intbl \\f%d\\fs%d %s\\row " % (cells[0][1], font, size, text)]


# ---------------------------------------------------------------- Anx3.rtf

def anexa3():
    f = 0
    widths = [1000, 2750, 5200, 7700, 9800]
    right = ["qc", "qc", "qc", "qc", "qr"]

    def cells(texts, aligns=None):
        return list(zip(widths, aligns or ["qc"] * 5, texts))

    body = ["\\sectd \\linex0\\endnhere\\sectdefaultcl "]
    body.append(heading(2, "Anexa nr.3", f, 24, align="qr", after=240))
    body.append(para("Judetul: [CODJUD] - [DENUMJUD]", f, bold=True))
    body.append(para("Unitatea administrativ-teritoriala: [CODUNIT] - [DENUMUNIT]", f, bold=True,
                     after=360))
    body.append(heading(1, "CENTRALIZATOR", f, 28, before=120))
    body.append(para("privind sumele reprezentand drepturi sociale platite sub forma de ajutor social - "
                     "cod 101", f, align="qc", before=60))
    body.append(para("Nr. " + DOTS * 8 + " din [DATA]", f, align="qc", before=120, after=240))

    body += row(cells(["Nr. crt.", "Numar titulari de drepturi", "Felul documentului de plata",
                       "Numarul si data documentului de plata", "Suma (lei)"]),
                f, 20, height=680, top=True, header=True)
    body += row(cells(["0", "1", "2", "3", "4"]), f, 18, header=True)
    body += row(cells(["1.", "[NR]", "", "", "[SUMA]"], right), f, 22, height=360)
    for _ in range(12):
        body += row(cells([""] * 5), f, 22, height=360)
    body += row(cells(["{\\b TOTAL}", "", "X", "X", "{\\b [SUMA]}"], right), f, 22, height=360)
    body.append(para("Ordonator principal de credite,\\tab " + DOTS * 16, f, extra="\\tx5400",
                     before=720))

    head = font_table([(0, "froman", "Times New Roman", 16)], spare_after_cyr=True)
    head.append(colour_table())
    head += stylesheet(f, 24, [(1, "qc", 28), (2, "qr", 24)])
    head += info("Anexa nr", (2009, 3, 12, 9, 41), (2013, 1, 22, 13, 8), 6, 74, word_counts(body))
    head += settings("\\margl1560\\margr758\\margt709")
    return head + body


# --------------------------------------------------------------- Adev1.rtf

def adeverinta():
    f, ce = 0, 17

    def ro(text):
        return romanian(text, ce)

    body = ["\\sectd \\linex0\\endnhere\\sectdefaultcl "]
    body.append(para(ro("ROMÂNIA"), f, bold=True))
    body.append(para(ro("JUDEŢUL") + " [JUDET]", f, bold=True))
    body.append(para(ro("PRIMĂRIA") + " [PRIMARIA]", f, bold=True))
    body.append(para("Nr. " + DOTS * 6 + " din " + DOTS * 8, f, before=120, after=720))
    body.append(heading(1, ro("ADEVERINŢĂ"), f, 32, after=480))
    body.append(para(ro("Prin prezenta se adevereşte că [dl] [Nume], [domiciliat] în [Adresa], "
                        "judeţul [JudDom], având CNP [CNP],[NU]figurează în evidenţa Primăriei cu "
                        "dosar de ajutor social, conform Legii nr. 416/2001 privind venitul minim "
                        "garantat, cu modificările şi completările ulterioare, cu suma de [Suma] lei "
                        "pentru luna [luna]."), f, align="qj", extra="\\fi720\\sl360\\slmult1"))
    body.append(para(ro("Prezenta adeverinţă s-a eliberat spre a-i servi la [Destinatie]."), f,
                     align="qj", extra="\\fi720\\sl360\\slmult1", before=120, after=960))
    body.append(para("PRIMAR,\\tab SECRETAR,\\tab REFERENT,", f, bold=True,
                     extra="\\tqc\\tx4680\\tqr\\tx9000"))

    head = font_table([(0, "froman", "Times New Roman", ce)], spare_after_cyr=True)
    head.append(colour_table())
    head += stylesheet(f, 24, [(1, "qc", 32), (2, "ql", 24)])
    head += info("ROMANIA", (2009, 2, 16, 10, 2), (2012, 11, 5, 8, 47), 4, 21, word_counts(body),
                 printed=(2012, 11, 5, 8, 45))
    head += settings("\\margr900\\margt851")
    return head + body


# ---------------------------------------------------- ModelComunicare.rtf

DECISIONS = ["Stabilirea dreptului la ajutor social",
             "Modificarea cuantumului ajutorului social",
             "Suspendarea plăţii ajutorului social",
             "Încetarea dreptului la ajutor social"]


def comunicare():
    f, ce = 1, 22

    def ro(text):
        return romanian(text, ce)

    def notice():
        lines = [para(ro("ROMÂNIA"), f, size=22, bold=True),
                 para(ro("PRIMĂRIA COMUNEI") + " [LOCALITATEA]", f, size=22, bold=True),
                 para("Nr. [NRCOM] din [DataCom]", f, size=22, after=120),
                 heading(1, "COMUNICARE", f, 28, after=60),
                 para(ro("privind dreptul la ajutor social acordat în baza Legii nr. 416/2001"),
                      f, size=20, align="qc", after=120)]
        for n, kind in enumerate(DECISIONS, 1):
            lines += row([(700, "qc", "%d." % n), (7600, "ql", ro(kind)), (9350, "qc", "[X%d]" % n)],
                         f, 22, height=300, top=n == 1, middle=True)
        lines.append(para(ro("Vă comunicăm că, prin Dispoziţia Primarului nr. [NrDisp] din "
                             "[DataDisp], începând cu data de [DataStart] s-a [actiune] dreptul la "
                             "ajutor social în cuantum de [Suma] lei lunar pentru familia [dlui2] "
                             "[Nume], conform cererii nr. [NrCerere] din [DataCerere], cu domiciliul "
                             "în [Adresa]."), f, size=22, align="qj", extra="\\fi567", before=160))
        lines.append(para(ro("Dreptul la ajutor social s-a [actiune] pentru următorul motiv: "
                             "[Motiv]."), f, size=22, align="qj", extra="\\fi567", before=60))
        lines.append(para(ro("Împotriva prezentei dispoziţii se poate face contestaţie la instanţa de "
                             "contencios administrativ competentă, în condiţiile Legii contenciosului "
                             "administrativ nr. 554/2004, cu modificările ulterioare."),
                          f, size=22, align="qj", extra="\\fi567", before=60))
        lines.append(para("PRIMAR,", f, size=22, bold=True, align="qc", extra="\\li5400",
                          before=120, after=360))
        return lines

    body = ["\\sectd \\linex0\\headery708\\footery708\\endnhere\\sectdefaultcl "]
    body += notice()
    body.append(para("_" * 76, f, size=22, after=360))
    body += notice()

    head = font_table([(0, "froman", "Times New Roman", 16), (1, "fswiss", "Arial", 22)],
                      spare_after_cyr=True)
    head.append(colour_table())
    head += stylesheet(f, 22, [(1, "qc", 28), (2, "ql", 22)])
    head += info("ROMANIA", (2010, 5, 4, 11, 15), (2013, 2, 11, 9, 30), 9, 96, word_counts(body),
                 printed=(2013, 2, 8, 14, 22))
    head += settings("\\margr720\\margt567\\margb567")
    return head + body


# ------------------------------------------------------------------ files

def drop_last_par_blank(source):
    """For an odd padding count: drop the blank that ends the last paragraph mark."""
    at = source.rindex("\\par }")
    return source[:at] + "\\par}" + source[at + 6:]


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    for name, build in (("Anx3.rtf", anexa3), ("Adev1.rtf", adeverinta),
                        ("ModelComunicare.rtf", comunicare)):
        with open(os.path.join(argv[1], name), "wb") as out:
            out.write(assemble(build(), SIZES[name], name, drop_last_par_blank))


if __name__ == "__main__":
    main(sys.argv)
