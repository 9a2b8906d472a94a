#!/usr/bin/env bash
# Runs a Win32 program in a fresh copy of the template Wine prefix, with its
# own wineserver, and exits with the program's exit code. KIT_WINE_ARCH
# names the prefix's kind (see tools/wine.sh).
#   tests/e2e/wine_run.sh <template prefix> <program.exe> [arguments...]
# The copy is removed afterwards unless KEEP_PREFIX is set. Needs $DISPLAY.
# KIT_LOGPIXELS sets the display's DPI in the copy (Wine reads it when its
# wineserver starts, so this one ends before the program's starts).
# KIT_DRIVE_M maps that folder as drive M: in the copy (see full_disk.sh).
set -uo pipefail
source "$(dirname "$0")/../../tools/wine.sh"
template=$1; shift
exe=$1; shift
use_wine
export WINEPREFIX=$(mktemp -d /tmp/kit-wine.XXXXXX)
cp -a "$template/." "$WINEPREFIX/"
[ -z "${KIT_DRIVE_M:-}" ] || ln -sfn "$KIT_DRIVE_M" "$WINEPREFIX/dosdevices/m:"
if [ -n "${KIT_LOGPIXELS:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$KIT_LOGPIXELS" /f >/dev/null
    wineserver -w
fi
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${KEEP_PREFIX:-}" ] && echo "prefix kept: $WINEPREFIX" || rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wine "$exe" "$@"
status=$?
wineserver -w
exit $status
