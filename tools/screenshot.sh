#!/usr/bin/env bash
# Refreshes docs/window.png, a real screenshot of the kit's window on the
# demo installation, taken on a virtual display, and docs/window-150.png,
# the same window at 150 % (Wine's LogPixels 144).
set -euo pipefail
cd "$(dirname "$0")/.."
env -u DISPLAY bash tools/demo.sh
cp build/demo/window.png docs/window.png
echo "docs/window.png refreshed"

# At 150 %: a copy of the demo's prefix, its record back at 2.35 as before
# the demo's upgrade, and LogPixels 144, which Wine reads when its
# wineserver starts.
source tools/wine.sh
choose_wine_target
use_wine
shots=$PWD/build/demo
export WINEPREFIX=$shots/prefix-150
rm -rf "$WINEPREFIX"
cp -a "$shots/prefix-$KIT_WINE_ARCH" "$WINEPREFIX"
wine reg add 'HKLM\Software\Varnoti\82' /v VER /t REG_SZ /d 'Meridal - 2013 v.2.35' /f /reg:32 >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
wineserver -w
cat > "$shots/drive-150.sh" <<DRIVE
set -euo pipefail
wine "$PWD/build/$KIT_WINE_ARCH/MeridalUpgrade.exe" &
window=\$(xdotool search --sync --name '^Meridal - 2013 - UpGrade v\.[0-9.]+\$' | head -1)
sleep 2  # the version check runs one second after the window shows
eval \$(xdotool getwindowgeometry --shell "\$window")
import -window root "$shots/root-150.png"
convert "$shots/root-150.png" -crop \$(( WIDTH + 24 ))x\$(( HEIGHT + 24 ))+\$(( X - 12 ))+\$(( Y - 12 )) +repage "$shots/window-150.png"
wineserver -k
DRIVE
xvfb-run -a -s "-screen 0 1024x768x24 -wr" bash "$shots/drive-150.sh"
rm -rf "$WINEPREFIX"
cp "$shots/window-150.png" docs/window-150.png
echo "docs/window-150.png refreshed"
