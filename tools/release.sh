#!/usr/bin/env bash
# Builds the kit for release and signs it where a certificate is given.
#
#   tools/release.sh (--meridal-exe <Meridal_2013.exe> | --standin)
#                    [--version <X.YY>] [--templates <folder>]
#                    [--pkcs12 <file.p12> (--password-file <file> | --password-env <NAME>)
#                     [--timestamp <RFC 3161 URL>]]
#                    [--build-dir <folder>] [--output <file>]
#
# --meridal-exe   the vendor's application executable, a 32-bit Windows GUI
#                 program; required, so that no release carries our stand-in
#                 by mistake
# --standin       build with our stand-in instead, on purpose (for trials
#                 only; the release says so in its last lines)
# --version       the version the kit installs, units and two decimals
#                 (default 2.39, the build's KIT_VERSION)
# --templates     a folder whose .dbf and .rtf files replace ours of the same name
# --pkcs12        code-signing certificate and key; the password is read from
#                 the file's first line or from the environment variable NAME,
#                 never from the command line
# --timestamp     an RFC 3161 time-stamping server, so the signature stays
#                 valid after the certificate expires
# --build-dir     the build folder (default build/release)
# --output        the released kit (default <build folder>/dist/MeridalUpgrade.exe)
#
# Prints the kit's file, size, SHA-256 and version.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    sed -n '2,26p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}
fail() { echo "release: $*" >&2; exit 1; }
absolute() { realpath -m -- "$1"; }

meridal_exe= standin= version= templates= pkcs12= password_file= password_env= timestamp=
build=$root/build/release output=
while [ $# -gt 0 ]; do
    case $1 in
        --meridal-exe) meridal_exe=$(absolute "${2:?}"); shift 2 ;;
        --standin) standin=yes; shift ;;
        --version) version=${2:?}; shift 2 ;;
        --templates) templates=$(absolute "${2:?}"); shift 2 ;;
        --pkcs12) pkcs12=$(absolute "${2:?}"); shift 2 ;;
        --password-file) password_file=$(absolute "${2:?}"); shift 2 ;;
        --password-env) password_env=${2:?}; shift 2 ;;
        --timestamp) timestamp=${2:?}; shift 2 ;;
        --build-dir) build=$(absolute "${2:?}"); shift 2 ;;
        --output) output=$(absolute "${2:?}"); shift 2 ;;
        -h|--help) usage ;;
        *) echo "release: unknown argument $1" >&2; usage ;;
    esac
done
output=${output:-$build/dist/MeridalUpgrade.exe}

if [ -z "$meridal_exe" ] && [ -z "$standin" ]; then
    fail "no --meridal-exe: give the vendor's Meridal_2013.exe with --meridal-exe, or build a" \
         "trial kit with our stand-in on purpose with --standin"
fi
[ -z "$meridal_exe" ] || [ -z "$standin" ] || fail "--meridal-exe and --standin exclude each other"
[ -z "$meridal_exe" ] || [ -f "$meridal_exe" ] || fail "$meridal_exe does not exist"
[ -z "$templates" ] || [ -d "$templates" ] || fail "templates folder $templates does not exist"
if [ -z "$pkcs12" ] && [ -n "$password_file$password_env$timestamp" ]; then
    fail "--password-file, --password-env and --timestamp go with --pkcs12"
fi
if [ -n "$pkcs12" ] && [ -z "$password_file$password_env" ]; then
    fail "--pkcs12 needs --password-file or --password-env"
fi

bash "$root/tools/setup.sh" >/dev/null

# The program the kit installs must be one Windows can start as the 32-bit
# application: a PE32 executable for i386 with the GUI subsystem.
if [ -n "$meridal_exe" ] && ! why=$(/usr/bin/python3 - "$meridal_exe" 2>&1 <<'PY'
import sys
import pefile
try:
    pe = pefile.PE(sys.argv[1], fast_load=True)
except pefile.PEFormatError as e:
    sys.exit("it is no Windows program (%s)" % e)
if pe.OPTIONAL_HEADER.Magic != 0x10B or pe.FILE_HEADER.Machine != 0x14C:
    sys.exit("it is no 32-bit program for Intel i386")
if pe.FILE_HEADER.Characteristics & 0x2000 or not pe.FILE_HEADER.Characteristics & 0x0002:
    sys.exit("it is a library or object, not an executable")
if pe.OPTIONAL_HEADER.Subsystem != 2:
    sys.exit("it is no GUI program (subsystem %d)" % pe.OPTIONAL_HEADER.Subsystem)
PY
); then
    fail "--meridal-exe $meridal_exe is not a 32-bit Windows GUI executable: ${why##*$'\n'}"
fi

# The build folder's earlier release goes first: a failed build must not
# leave it where this release is expected.
rm -f "$output"
# Empty values reset what an earlier release in the same folder used; so
# does removing KIT_VERSION, which then takes its default.
version_option=-UKIT_VERSION
[ -z "$version" ] || version_option=-DKIT_VERSION=$version
cmake --preset win32 -S "$root" -B "$build" "$version_option" \
      -DMERIDAL_EXE="$meridal_exe" -DMERIDAL_TEMPLATES_DIR="$templates" >/dev/null
cmake --build "$build" -j2 --target MeridalUpgrade

# The build folder keeps the unsigned kit; the release is a fresh copy, so
# an earlier signature never passes for this one.
mkdir -p "$(dirname "$output")"
if [ -n "$pkcs12" ]; then
    sign=("$root/tools/sign_kit.sh" --pkcs12 "$pkcs12")
    [ -z "$password_file" ] || sign+=(--password-file "$password_file")
    [ -z "$password_env" ] || sign+=(--password-env "$password_env")
    [ -z "$timestamp" ] || sign+=(--timestamp "$timestamp")
    bash "${sign[@]}" "$build/MeridalUpgrade.exe" "$output"
    signed="signed with $(basename "$pkcs12")${timestamp:+, time-stamped by $timestamp}"
else
    cp "$build/MeridalUpgrade.exe" "$output"
    echo "release: no certificate given (--pkcs12): the kit is NOT signed"
    signed="unsigned"
fi

file_version=$(/usr/bin/python3 - "$output" <<'PY'
import sys
import pefile
pe = pefile.PE(sys.argv[1], fast_load=True)
pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
for info in getattr(pe, "FileInfo", []):
    for block in info:
        for table in getattr(block, "StringTable", []):
            value = table.entries.get(b"FileVersion")
            if value:
                print(value.decode("utf-8", "replace"))
                sys.exit(0)
sys.exit("no FileVersion in the kit's version information")
PY
)

echo "file:    $output ($signed)"
echo "size:    $(stat -c %s "$output") bytes"
echo "sha256:  $(sha256sum "$output" | cut -d' ' -f1)"
echo "version: $file_version"
if [ -n "$standin" ]; then
    echo "release: this kit carries OUR STAND-IN, not the vendor's Meridal_2013.exe (--standin):"
    echo "release: a trial kit, NOT for installations; build releases with --meridal-exe"
fi
