"""Pieces shared by the kit's RTF template generators (make_raport.py and
make_templates.py): the document opening, font and colour tables, the info
group, word counts for it, and padding a source to the size the kit ships.

Every source is ASCII with CR LF line breaks. Python 3 standard library only.
"""

import re

CRLF = "\r\n"
OPENING = "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033"
DOTS = "\\'85"          # horizontal ellipsis, the same byte in code pages 1250 and 1252
BORDER = "\\brdrs\\brdrw10"
RO = "\\lang1048\\langfe1033\\langnp1048"

# The charset variants every base font gets, in the order they are listed.
VARIANTS = [(238, "CE"), (204, "Cyr"), (161, "Greek"), (162, "Tur"), (186, "Baltic")]
PANOSE = {"Times New Roman": "02020603050405020304", "Arial": "020b0604020202020204"}

COLOURS = [(0, 0, 0), (0, 0, 255), (0, 255, 255), (0, 255, 0), (255, 0, 255),
           (255, 0, 0), (255, 255, 0), (255, 255, 255), (0, 0, 128), (0, 128, 128),
           (0, 128, 0), (128, 0, 128), (128, 0, 0), (128, 128, 0), (128, 128, 128),
           (192, 192, 192)]


def font_table(bases, spare_after_cyr):
    """The font table as lines: the base fonts on the first, then one line of
    variants per base font.

    bases: (number, family, name, number of its CE variant). The variants are
    numbered on from the CE one; spare_after_cyr leaves one number free after
    the Cyr variant, as some of the templates do.
    """
    entries = ["{\\f%d\\%s\\fcharset0\\fprq2{\\*\\panose %s}%s;}" % (n, family, PANOSE[name], name)
               for n, family, name, _ in bases]
    lines = ["{\\fonttbl" + "".join(entries)]
    for _, family, name, first in bases:
        numbers = [first + i for i in range(len(VARIANTS))]
        if spare_after_cyr:
            numbers = numbers[:2] + [n + 1 for n in numbers[2:]]
        lines.append("".join("{\\f%d\\%s\\fcharset%d\\fprq2 %s %s;}" % (num, family, cs, name, suffix)
                             for num, (cs, suffix) in zip(numbers, VARIANTS)))
    lines[-1] += "}"
    return lines


def colour_table():
    return "{\\colortbl;" + "".join("\\red%d\\green%d\\blue%d;" % c for c in COLOURS) + "}"


def stamp(when):
    """An info-group date from (year, month, day, hour, minute)."""
    return "\\yr%d\\mo%d\\dy%d\\hr%d\\min%d" % when


def info(title, operator, created, revised, version, minutes, pages, words, chars,
         chars_with_spaces, printed=None):
    """The info group as two lines; printed is an optional print date."""
    printed = "{\\printim%s}" % stamp(printed) if printed else ""
    return ["{\\info{\\title %s}{\\author Compartiment asistenta sociala}{\\operator %s}"
            % (title, operator),
            "{\\creatim%s}{\\revtim%s}%s{\\version%d}{\\edmins%d}{\\nofpages%d}{\\nofwords%d}"
            "{\\nofchars%d}{\\*\\company Primaria}{\\nofcharsws%d}{\\vern8247}}"
            % (stamp(created), stamp(revised), printed, version, minutes, pages, words, chars,
               chars_with_spaces)]


def word_counts(lines):
    """Words and non-blank characters of the document body roughly as a reader
    counts them, for the info group: an escaped letter counts as one character,
    breaks separate words, other control words and hidden groups vanish."""
    text = CRLF.join(lines).replace(DOTS, ".")
    text = re.sub(r"\\'[0-9a-f]{2}", "a", text)
    text = re.sub(r"\\(par|cell|row|tab|page|sect|column)\b ?", " ", text)
    text = re.sub(r"\\\*\\[a-z]+ [^}]*", " ", text)
    text = re.sub(r"\\[a-z]+-?\d* ?", "", text)
    words = re.sub(r"[{}\r\n]", " ", text).split()
    return len(words), sum(len(w) for w in words)


def assemble(lines, size, name, drop_blank):
    """The file's bytes: OPENING before the first line, the lines joined with
    CR LF, then blank lines and the closing brace as the last byte, so the file
    is exactly size bytes (readers ignore the line breaks).

    Padding goes in whole CR LF pairs; for an odd count drop_blank(source)
    must return the source one optional blank shorter.
    """
    source = CRLF.join([OPENING + lines[0]] + lines[1:]) + CRLF
    short = size - len(source) - 1
    if short % 2:
        source = drop_blank(source)
        short += 1
    if short < 0:
        raise SystemExit("%s: content is %d bytes over %d" % (name, -short, size))
    data = (source + CRLF * (short // 2) + "}").encode("ascii")
    assert len(data) == size, (name, len(data))
    return data
