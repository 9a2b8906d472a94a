#!/usr/bin/env bash
# Makes the template Wine prefix that every Wine test copies for itself, so
# each one starts from a clean registry and an empty drive C.
#   tests/e2e/make_prefix.sh <folder>
set -euo pipefail
prefix=$1
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEARCH=win32 WINEDEBUG=-all WINEPREFIX=$prefix
wineboot -i >/dev/null 2>&1
# Without a window manager, Wine's managed windows stall the GUI thread for
# about two seconds whenever a top-level window goes away.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
echo "template prefix ready: $prefix"
