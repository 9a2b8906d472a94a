#!/usr/bin/env bash
# Refreshes docs/window.png, a real screenshot of the kit's window on the
# demo installation, taken on a virtual display, and docs/window-150.png,
# the same window at 150 % (Wine's LogPixels 144).
set -euo pipefail
cd "$(dirname "$0")/.."
env -u DISPLAY bash tools/demo.sh
cp build/demo/window.png docs/window.png
echo "docs/window.png refreshed"

# At 150 %: a copy of the demo's prefix, its installation made afresh, at
# LogPixels 144.
source tools/wine.sh
choose_wine_target
use_wine
shots=$PWD/build/demo
rm -rf "$shots/prefix-150"
cp -a "$shots/prefix-$KIT_WINE_ARCH" "$shots/prefix-150"
demo_prefix "$shots/prefix-150" 144
cat > "$shots/drive-150.sh" <<DRIVE
set -euo pipefail
source "$PWD/tools/wine.sh"
shoot_kit_window "$PWD/build/$KIT_WINE_ARCH/MeridalUpgrade.exe" "$shots/root-150.png" "$shots/window-150.png" 12
wineserver -k
DRIVE
xvfb-run -a -s "-screen 0 1024x768x24 -wr" bash "$shots/drive-150.sh"
rm -rf "$shots/prefix-150"
cp "$shots/window-150.png" docs/window-150.png
echo "docs/window-150.png refreshed"
