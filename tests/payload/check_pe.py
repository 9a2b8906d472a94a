#!/usr/bin/python3
"""Checks the Windows executables of the build with pefile (python3-pefile).

    /usr/bin/python3 tests/payload/check_pe.py standin <exe>
    /usr/bin/python3 tests/payload/check_pe.py kit <kit exe> <version> <folder>...
    /usr/bin/python3 tests/payload/check_pe.py size <kit exe> <budget bytes>

standin: the padded stand-in for the application's executable: PE32, i386,
         GUI, subsystem version 4.00, 7,256,064 bytes, system imports only.
kit:     the upgrade kit: PE32, i386, GUI, system imports only, no link time
         stamp, ASLR (DYNAMICBASE) with its relocations, DEP (NXCOMPAT), the
         stack protector's runtime linked in, its icon, arrow bitmap, version
         information and manifest, both saying <version> (the build's
         KIT_VERSION, such as 2.39), the ten payload items, each
         byte-identical to its file (names from payload/Catalogue.def), taken
         from the first <folder> that has it, e.g. the build's payload folder
         (the stand-in) and payload/files, and the items' CRC-32 checksums.
size:    the kit's overhead, its size less the bytes of its ten payload
         items, is at most <budget bytes>; prints the figures.

Exits 0 when every check holds, 1 with one line per failed check otherwise.
"""

import os
import re
import struct
import sys
import zlib

import pefile

STANDIN_SIZE = 7256064
# An independent list on purpose: the catalogue is checked against it.
PAYLOAD_CODES = ["MERIDAL", "RP", "A3", "AD", "MT", "MF", "A1", "B1", "C1", "MC"]
PAYLOAD_NAME = "UPGRADE"
CHECKSUMS_TYPE = "CRC32"
ROMANIAN = 1048
CATALOGUE = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                         "..", "..", "payload", "Catalogue.def")

# DLLs the kit and the stand-in may import: Windows' own, present on every
# installation. Everything else (a compiler runtime, a redistributable, a
# side-by-side or optional component) is a fault.
SYSTEM_DLLS = {
    "kernel32", "user32", "gdi32", "advapi32", "msvcrt", "shell32", "ole32",
    "oleaut32", "comdlg32", "shlwapi", "ws2_32", "rpcrt4", "setupapi",
    "imagehlp", "psapi", "normaliz", "nsi", "sechost", "combase",
}
# Named separately because they are easy to pull in by accident.
FORBIDDEN_DLLS = {"gdiplus", "msimg32", "uxtheme", "comctl32", "version",
                  "dwmapi"}

RT_BITMAP = pefile.RESOURCE_TYPE["RT_BITMAP"]
RT_ICON = pefile.RESOURCE_TYPE["RT_ICON"]
RT_GROUP_ICON = pefile.RESOURCE_TYPE["RT_GROUP_ICON"]
RT_VERSION = pefile.RESOURCE_TYPE["RT_VERSION"]
RT_MANIFEST = pefile.RESOURCE_TYPE["RT_MANIFEST"]

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
    return ok


def load(path):
    if not check(os.path.isfile(path), "%s: no such file" % path):
        return None
    try:
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories(directories=[
            pefile.DIRECTORY_ENTRY[d] for d in (
                "IMAGE_DIRECTORY_ENTRY_IMPORT",
                "IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT",
                "IMAGE_DIRECTORY_ENTRY_RESOURCE")])
        return pe
    except pefile.PEFormatError as e:
        check(False, "%s: not a PE file: %s" % (path, e))
        return None


def check_header(pe, label):
    check(pe.OPTIONAL_HEADER.Magic == 0x10B,
          "%s: optional header magic 0x%X, expected 0x10B (PE32)"
          % (label, pe.OPTIONAL_HEADER.Magic))
    check(pe.FILE_HEADER.Machine == 0x14C,
          "%s: machine 0x%X, expected 0x14C (i386)"
          % (label, pe.FILE_HEADER.Machine))
    check(pe.OPTIONAL_HEADER.Subsystem == 2,
          "%s: subsystem %d, expected 2 (Windows GUI)"
          % (label, pe.OPTIONAL_HEADER.Subsystem))
    check(not pe.FILE_HEADER.Characteristics & 0x2000,
          "%s: is a DLL, not an executable" % label)


IMAGE_FILE_RELOCS_STRIPPED = 0x0001
DLLCHARACTERISTICS_DYNAMIC_BASE = 0x0040
DLLCHARACTERISTICS_NX_COMPAT = 0x0100
# What libssp's __stack_chk_fail reports; present only where the stack
# protector's runtime is linked in (statically: the imports are checked too).
STACK_PROTECTOR_MARK = b"stack smashing detected"


def check_hardening(pe, path, label):
    """ASLR with the relocations it needs, DEP, the stack protector, and no
    link time in the header (which would make every build differ)."""
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    check(flags & DLLCHARACTERISTICS_DYNAMIC_BASE,
          "%s: DYNAMICBASE (ASLR) is not set" % label)
    check(flags & DLLCHARACTERISTICS_NX_COMPAT,
          "%s: NXCOMPAT (DEP) is not set" % label)
    relocs = pe.OPTIONAL_HEADER.DATA_DIRECTORY[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    check(not pe.FILE_HEADER.Characteristics & IMAGE_FILE_RELOCS_STRIPPED
          and relocs.VirtualAddress and relocs.Size,
          "%s: has no base relocations, so it cannot be moved by ASLR" % label)
    check(pe.FILE_HEADER.TimeDateStamp == 0,
          "%s: header time stamp %d, expected 0 (no link time)"
          % (label, pe.FILE_HEADER.TimeDateStamp))
    with open(path, "rb") as f:
        check(STACK_PROTECTOR_MARK in f.read(),
              "%s: the stack protector's runtime is not linked in" % label)


def imported_dlls(pe):
    dlls = []
    for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attr, []):
            dlls.append(entry.dll.decode("ascii", "replace"))
    return dlls


def check_imports(pe, label):
    dlls = imported_dlls(pe)
    check(dlls, "%s: imports nothing at all (import table unreadable?)" % label)
    for dll in dlls:
        base = dll.lower()
        if base.endswith(".dll"):
            base = base[:-4]
        if base in FORBIDDEN_DLLS:
            check(False, "%s: imports %s, which must not be used" % (label, dll))
        else:
            check(base in SYSTEM_DLLS,
                  "%s: imports %s, which is not a system DLL" % (label, dll))
    return dlls


# ---------------------------------------------------------------- resources

def entry_key(entry):
    """A resource directory entry's name as str, or its numeric id."""
    return str(entry.name) if entry.name is not None else entry.id


def subentries(entry):
    directory = getattr(entry, "directory", None)
    return directory.entries if directory is not None else []


def resource_tree(pe):
    """{type: {name: {language: data entry}}} with str or int keys."""
    tree = {}
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for rtype in root.entries if root else []:
        names = tree.setdefault(entry_key(rtype), {})
        for rname in subentries(rtype):
            langs = names.setdefault(entry_key(rname), {})
            for lang in subentries(rname):
                if hasattr(lang, "data"):
                    langs[lang.id] = lang.data.struct
    return tree


def resource_data(pe, data_entry):
    return pe.get_data(data_entry.OffsetToData, data_entry.Size)


def only_language(pe, tree, rtype, name, label):
    """The data of a resource that must exist, in whatever single language."""
    langs = tree.get(rtype, {}).get(name)
    if not check(langs, "%s: missing" % label):
        return None
    return resource_data(pe, next(iter(langs.values())))


def check_icon(pe, tree):
    data = only_language(pe, tree, RT_GROUP_ICON, "MAINICON",
                         "icon group MAINICON")
    if data is None:
        return
    if not check(len(data) >= 6, "icon group MAINICON: truncated"):
        return
    _, kind, count = struct.unpack_from("<HHH", data)
    check(kind == 1 and count > 0 and len(data) >= 6 + 14 * count,
          "icon group MAINICON: malformed header (type %d, %d images)"
          % (kind, count))
    icons = tree.get(RT_ICON, {})
    for i in range(min(count, (len(data) - 6) // 14)):
        icon_id = struct.unpack_from("<H", data, 6 + 14 * i + 12)[0]
        check(icon_id in icons,
              "icon group MAINICON: image %d (RT_ICON %d) is missing"
              % (i + 1, icon_id))


def check_bitmap(pe, tree):
    data = only_language(pe, tree, RT_BITMAP, "LBARROW", "bitmap LBARROW")
    if data is None:
        return
    if not check(len(data) >= 40, "bitmap LBARROW: shorter than its header"):
        return
    size, width, height, planes, bits = struct.unpack_from("<IiiHH", data)
    check(size >= 40 and width == 5 and abs(height) == 3 and planes == 1
          and bits == 4,
          "bitmap LBARROW: header size %d, %dx%d, %d plane(s), %d bits per "
          "pixel; expected 5x3, 4 bits per pixel" % (size, width, abs(height),
                                                    planes, bits))


def version_strings(pe):
    """The StringFileInfo entries of the version resource, as str -> str.
    pefile parses the version resource along with the resource directory."""
    strings = {}
    for file_info in getattr(pe, "FileInfo", []):
        for block in file_info:
            for table in getattr(block, "StringTable", []):
                for key, value in table.entries.items():
                    strings[key.decode("utf-8", "replace")] = \
                        value.decode("utf-8", "replace")
    return strings


class KitVersion:
    """A kit version as the build option gives it ("2.39"): its units and
    hundredths, and its text as the kit shows it, the shortest decimal form
    ("2.4" for 2.40)."""

    def __init__(self, text):
        units, _, hundredths = text.partition(".")
        self.major, self.minor = int(units), int(hundredths)
        self.shown = text.rstrip("0").rstrip(".") if "." in text else text
        self.file = "%d.%d.0.0" % (self.major, self.minor)


def check_version(pe, tree, version):
    if not check(RT_VERSION in tree, "VERSIONINFO: missing"):
        return
    try:
        strings = version_strings(pe)
    except Exception as e:
        check(False, "VERSIONINFO: cannot be parsed: %s" % e)
        return
    expected = {
        "ProductName": "Meridal - 2013",
        "FileVersion": version.file,
        "ProductVersion": version.shown,
        "FileDescription": "Actualizare Meridal - 2013 la versiunea %s"
                           % version.shown,
    }
    for key, want in expected.items():
        got = strings.get(key)
        check(got == want, "VERSIONINFO: %s is %r, expected %r"
              % (key, got, want))
    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    fixed = fixed[0] if isinstance(fixed, list) and fixed else fixed
    if check(fixed is not None, "VERSIONINFO: no fixed file information"):
        numbers = (version.major << 16 | version.minor, 0)
        for name in ("FileVersion", "ProductVersion"):
            got = (getattr(fixed, name + "MS"), getattr(fixed, name + "LS"))
            check(got == numbers, "VERSIONINFO: fixed %s is %d.%d.%d.%d, "
                  "expected %s" % (name, got[0] >> 16, got[0] & 0xFFFF,
                                   got[1] >> 16, got[1] & 0xFFFF,
                                   version.file))


def check_manifest(pe, tree, version):
    names = tree.get(RT_MANIFEST, {})
    if not check(names, "manifest (RT_MANIFEST): missing"):
        return
    text = b"".join(resource_data(pe, d) for langs in names.values()
                    for d in langs.values())
    for word in (b"requireAdministrator", b"supportedOS"):
        check(word in text, "manifest: no %s" % word.decode())
    identity = re.search(rb'<assemblyIdentity\b[^>]*\bversion="([^"]*)"', text)
    got = identity.group(1).decode("ascii", "replace") if identity else None
    check(got == version.file, "manifest: assembly version %r, expected %r"
          % (got, version.file))
    description = "<description>Meridal - 2013 - UpGrade v.%s</description>" \
        % version.shown
    check(description.encode() in text, "manifest: no %s" % description)


def catalogue_files():
    """{item code: file name} from payload/Catalogue.def."""
    try:
        with open(CATALOGUE, encoding="ascii") as f:
            text = f.read()
    except OSError as e:
        check(False, "cannot read the payload catalogue: %s" % e)
        return {}
    items = re.findall(r'^PAYLOAD_(?:ITEM|PROGRAM)\(\s*(\w+)\s*,\s*"[^"]*"\s*,'
                       r'(?:\s*\w+\s*,)?\s*"([^"]+)"\s*\)', text, re.MULTILINE)
    codes = [code for code, _ in items]
    check(codes == PAYLOAD_CODES, "payload catalogue lists %s, expected %s"
          % (codes, PAYLOAD_CODES))
    return dict(items)


def find_file(folders, name):
    for folder in folders:
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            return path
    return None


def check_checksums(pe, tree, items):
    """The CRC32 resource holds the CRC-32 of each item, in catalogue order,
    four bytes each, little-endian."""
    names = tree.get(CHECKSUMS_TYPE)
    if not check(names, "checksums: no resource of type %s" % CHECKSUMS_TYPE):
        return
    langs = names.get(PAYLOAD_NAME)
    check(list(names) == [PAYLOAD_NAME] and langs and list(langs) == [ROMANIAN],
          "checksums: stored as %s, expected %s %s in language %d only"
          % ({n: list(l) for n, l in names.items()}, CHECKSUMS_TYPE,
             PAYLOAD_NAME, ROMANIAN))
    if not langs:
        return
    data = resource_data(pe, next(iter(langs.values())))
    if not check(len(data) == 4 * len(PAYLOAD_CODES),
                 "checksums: %d bytes, expected %d" % (len(data),
                                                      4 * len(PAYLOAD_CODES))):
        return
    stored = struct.unpack("<%dI" % len(PAYLOAD_CODES), data)
    for code, value in zip(PAYLOAD_CODES, stored):
        if code in items:
            want = zlib.crc32(items[code]) & 0xFFFFFFFF
            check(value == want, "checksums: item %s stored as %08X, its "
                  "CRC-32 is %08X" % (code, value, want))


def check_payload(pe, tree, folders):
    """Each item against its file; gives {code: the item's bytes}."""
    items = {}
    files = catalogue_files()
    for code in PAYLOAD_CODES:
        label = "payload item %s" % code
        names = tree.get(code)
        if not check(names, "%s: no resource of type %s" % (label, code)):
            continue
        check(list(names) == [PAYLOAD_NAME],
              "%s: resource names %s, expected only %s"
              % (label, list(names), PAYLOAD_NAME))
        langs = names.get(PAYLOAD_NAME)
        if not langs:
            continue
        check(list(langs) == [ROMANIAN], "%s: languages %s, expected only %d"
              % (label, list(langs), ROMANIAN))
        if code not in files:
            continue
        path = find_file(folders, files[code])
        if not check(path, "%s: file %s to compare with is in none of %s"
                     % (label, files[code], ", ".join(folders))):
            continue
        with open(path, "rb") as f:
            want = f.read()
        got = resource_data(pe, next(iter(langs.values())))
        items[code] = got
        if got != want:
            at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b),
                      min(len(got), len(want)))
            check(False, "%s: %d bytes differ from %s (%d bytes), first "
                  "difference at offset %d" % (label, len(got), files[code],
                                               len(want), at))
    return items


# -------------------------------------------------------------------- modes

def check_standin(path):
    pe = load(path)
    if pe is None:
        return
    label = os.path.basename(path)
    check_header(pe, label)
    version = (pe.OPTIONAL_HEADER.MajorSubsystemVersion,
               pe.OPTIONAL_HEADER.MinorSubsystemVersion)
    check(version == (4, 0), "%s: subsystem version %d.%02d, expected 4.00"
          % ((label,) + version))
    size = os.path.getsize(path)
    check(size == STANDIN_SIZE, "%s: %d bytes, expected %d"
          % (label, size, STANDIN_SIZE))
    image_end = max((s.PointerToRawData + s.SizeOfRawData
                     for s in pe.sections), default=0)
    check(image_end <= size,
          "%s: sections end at %d, past the end of the file" % (label, image_end))
    dlls = check_imports(pe, label)
    return "%s: PE32 i386 GUI 4.00, %d bytes, imports %s" % (
        label, size, ", ".join(dlls))


def check_kit(path, version, folders):
    pe = load(path)
    if pe is None:
        return
    label = os.path.basename(path)
    check_header(pe, label)
    check_hardening(pe, path, label)
    dlls = check_imports(pe, label)
    tree = resource_tree(pe)
    if not check(tree, "%s: has no resources" % label):
        return
    check_icon(pe, tree)
    check_bitmap(pe, tree)
    check_version(pe, tree, version)
    check_manifest(pe, tree, version)
    check_checksums(pe, tree, check_payload(pe, tree, folders))
    return "%s: PE32 i386 GUI, DYNAMICBASE, NXCOMPAT, relocations, stack " \
           "protector, no time stamp, imports %s; icon, bitmap, version %s " \
           "and manifest, %d payload items and their checksums OK" % (
               label, ", ".join(dlls), version.file, len(PAYLOAD_CODES))


def check_size(path, budget):
    """The kit's size less its payload items must stay within budget."""
    pe = load(path)
    if pe is None:
        return
    label = os.path.basename(path)
    tree = resource_tree(pe)
    payload = 0
    for code in PAYLOAD_CODES:
        langs = tree.get(code, {}).get(PAYLOAD_NAME)
        if check(langs, "payload item %s: missing" % code):
            payload += sum(d.Size for d in langs.values())
    size = os.path.getsize(path)
    overhead = size - payload
    check(overhead <= budget, "%s: overhead %s bytes, over the budget of %s"
          % (label, format(overhead, ","), format(budget, ",")))
    return "%s: %s bytes, payload %s bytes, overhead %s bytes (budget %s)" % (
        label, format(size, ","), format(payload, ","), format(overhead, ","),
        format(budget, ","))


def main(argv):
    if len(argv) == 3 and argv[1] == "standin":
        summary = check_standin(argv[2])
    elif len(argv) >= 5 and argv[1] == "kit" and \
            re.match(r"^[0-9]+\.[0-9]{2}$", argv[3]):
        summary = check_kit(argv[2], KitVersion(argv[3]), argv[4:])
    elif len(argv) == 4 and argv[1] == "size" and argv[3].isdigit():
        summary = check_size(argv[2], int(argv[3]))
    else:
        sys.stderr.write("usage: check_pe.py standin <exe>\n"
                         "       check_pe.py kit <kit exe> <version> <payload folder>...\n"
                         "       check_pe.py size <kit exe> <budget bytes>\n")
        return 2
    if failures:
        sys.stderr.write("%d check(s) failed:\n  %s\n"
                         % (len(failures), "\n  ".join(failures)))
        return 1
    print(summary)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
