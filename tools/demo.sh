#!/usr/bin/env bash
# Builds the kit and runs it on a demo installation: a Wine prefix whose
# registry records "Meridal - 2013 v.2.35" in C:\Meridal2013, with an old
# program and an edited report template there.
# With $DISPLAY the kit's window opens there for you to use. Without one it
# runs on a virtual display, upgrades the demo installation for real and
# saves screenshots before and after; their paths are printed.
# Where this host runs no 32-bit code, the kit's x86_64 twin runs instead
# (see tools/wine.sh).
source "$(dirname "$0")/fail_loudly.sh"
source "$(dirname "$0")/wine.sh"
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/setup.sh
choose_wine_target
build_kits
kit=$root/build/$KIT_WINE_ARCH/MeridalUpgrade.exe

use_wine
install=build/demo/prefix-$KIT_WINE_ARCH/drive_c/Meridal2013
echo "demo: preparing the demo installation in $root/$install"
demo_prefix "$root/build/demo/prefix-$KIT_WINE_ARCH"

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: the kit's window opens on $DISPLAY"
  wine "$kit"
  wineserver -w
  exit 0
fi

shots=$root/build/demo
cat > "$shots/drive.sh" <<DRIVE
set -euo pipefail
source "$root/tools/wine.sh"
shoot_kit_window "$kit" "$shots/before.png" "$shots/window.png" 8
# The client area (441 x 179) sits at the bottom of the window, centred.
border=\$(( (WIDTH - 441) / 2 ))
left=\$(( X + border )); top=\$(( Y + HEIGHT - 179 - border ))
xdotool mousemove \$(( left + 8 + 16 + 100 )) \$(( top + 8 + 120 + 15 )) click 1
box=\$(xdotool search --sync --name '^Information\$' | head -1)
sleep 0.5
import -window root "$shots/after.png"
# Keys reach the window under the pointer: OK the box, then Esc ends the kit.
eval \$(xdotool getwindowgeometry --shell "\$box")
xdotool mousemove \$(( X + WIDTH / 2 )) \$(( Y + HEIGHT / 2 )) key Return
sleep 0.5
xdotool mousemove \$(( left + 200 )) \$(( top + 60 )) key Escape
wineserver -w
DRIVE
echo "demo: no display, so the kit runs on a virtual one and the upgrade is clicked"
xvfb-run -a -s "-screen 0 1024x768x24 -wr" bash "$shots/drive.sh"

echo "demo: recorded version now: $(wine reg query 'HKLM\Software\Varnoti\82' /v VER /reg:32 | tr -d '\r' | grep VER)"
echo "demo: installation after the upgrade:"
(cd "$root/$install" && find . -type f -printf '  %p  %s bytes\n' | sort)
echo "demo: screenshots: $shots/window.png (the window before the upgrade), $shots/before.png, $shots/after.png"
