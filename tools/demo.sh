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
export WINEPREFIX=$root/build/demo/prefix-$KIT_WINE_ARCH
caption='Meridal - 2013 - UpGrade v\.[0-9.]+'  # the version is the build's KIT_VERSION
install=$WINEPREFIX/drive_c/Meridal2013

echo "demo: preparing the demo installation in $install"
[ -d "$WINEPREFIX" ] || bash tests/e2e/make_prefix.sh "$WINEPREFIX" >/dev/null
rm -rf "$install"
mkdir -p "$install/Data"
printf 'MZ old program' > "$install/Meridal_2013.exe"
printf '{\\rtf1\\ansi raport editat de primarie\\par}' > "$install/Data/raport.rtf"
# The 32-bit view, where the application's installer writes its record.
wine reg add 'HKLM\Software\Varnoti\82' /v CALE /t REG_SZ /d 'C:\Meridal2013' /f /reg:32 >/dev/null
wine reg add 'HKLM\Software\Varnoti\82' /v VER /t REG_SZ /d 'Meridal - 2013 v.2.35' /f /reg:32 >/dev/null
# Let this Wine session end: the kit's must start on the display it uses.
wineserver -w

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: the kit's window opens on $DISPLAY"
  wine "$kit"
  wineserver -w
  exit 0
fi

shots=$root/build/demo
cat > "$shots/drive.sh" <<DRIVE
set -euo pipefail
wine "$kit" &
window=\$(xdotool search --sync --name "^$caption\$" | head -1)
sleep 2  # the version check runs one second after the window shows
eval \$(xdotool getwindowgeometry --shell "\$window")
import -window root "$shots/before.png"
# The window alone, a margin of the white backdrop around it.
convert "$shots/before.png" -crop \$(( WIDTH + 16 ))x\$(( HEIGHT + 16 ))+\$(( X - 8 ))+\$(( Y - 8 )) +repage "$shots/window.png"
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
(cd "$install" && find . -type f -printf '  %p  %s bytes\n' | sort)
echo "demo: screenshots: $shots/window.png (the window before the upgrade), $shots/before.png, $shots/after.png"
