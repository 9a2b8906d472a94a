#!/usr/bin/env bash
# Makes the template Wine prefix that every Wine test copies for itself, so
# each one starts from a clean registry and an empty drive C. Its kind,
# 32-bit or 64-bit, follows KIT_WINE_ARCH (see tools/wine.sh).
#   tests/e2e/make_prefix.sh <folder>
source "$(dirname "$0")/../../tools/fail_loudly.sh"
source "$(dirname "$0")/../../tools/wine.sh"
prefix=$1
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
use_wine
export WINEPREFIX=$prefix
if ! log=$(wineboot -i 2>&1); then
    echo "make_prefix: wineboot could not make a $WINEARCH prefix in $prefix:" >&2
    echo "$log" | tail -5 >&2
    exit 1
fi
# Wine draws the caption's buttons with its Marlett font, which Debian's
# fonts-wine carries but this Wine doesn't load from there: without it the
# close button shows an empty box.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ]; then cp "$marlett" "$prefix/drive_c/windows/Fonts/"; fi
# Without a window manager, Wine's managed windows stall the GUI thread for
# about two seconds whenever a top-level window goes away.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
echo "template prefix ready: $prefix ($WINEARCH)"
