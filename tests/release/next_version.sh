#!/usr/bin/env bash
# Builds the kit for a next release, 2.41, as a release is built: with the
# release command and --version, here with our stand-in on purpose
# (--standin), in a folder of its own. Checks that the release says it
# carries the stand-in and is version 2.41, and, with independent readers,
# that the kit's version resource and manifest say 2.41. Builds the
# end-to-end driver for that version beside it, and on a host that runs no
# 32-bit code the kit's x86_64 twin (see tools/wine.sh), for the Wine test
# that upgrades a 2.39 installation with it.
#   tests/release/next_version.sh <work folder> <check_pe.py>
# Leaves the Wine test's kit and driver in <work folder>/$KIT_WINE_ARCH.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$1 check_pe=$2
version=2.41
mkdir -p "$work"
work=$(cd "$work" && pwd)
rm -f "$work/release.log"

build=$work/win32
if ! bash "$root/tools/release.sh" --standin --version "$version" --build-dir "$build" >"$work/release.log" 2>&1; then
    cat "$work/release.log" >&2
    echo "next_version: the release command failed" >&2
    exit 1
fi
tail -n 6 "$work/release.log"
failed=0
tail -n 2 "$work/release.log" | grep -q "STAND-IN" ||
    { echo "FAIL: the release's last lines don't say it carries the stand-in" >&2; failed=1; }
grep -qx "version: $version.0.0" "$work/release.log" ||
    { echo "FAIL: the release command doesn't report version $version.0.0" >&2; failed=1; }
/usr/bin/python3 "$check_pe" kit "$build/dist/MeridalUpgrade.exe" "$version" "$build/payload" "$root/payload/files" ||
    failed=1

# The driver that expects this version, and where needed the twin.
wine_build=$build
if ! { cmake --build "$build" -j2 --target kitdriver &&
       if [ "${KIT_WINE_ARCH:-win32}" = win64 ]; then
           wine_build=$work/win64
           cmake --preset win64 -S "$root" -B "$wine_build" -DKIT_VERSION="$version" \
                 -DMERIDAL_EXE="$build/payload/Meridal_2013.exe" >/dev/null &&
           cmake --build "$wine_build" -j2 --target MeridalUpgrade kitdriver
       fi; } >"$work/drivers.log" 2>&1; then
    cat "$work/drivers.log" >&2
    echo "next_version: building the Wine test's programs failed" >&2
    exit 1
fi
echo "the Wine test runs $wine_build/MeridalUpgrade.exe"
exit $failed
