# Which Wine the project's scripts run Win32 programs in. Sourced, not run.
#
# The Wine tests, the demo and the benchmarks run the shipped i686 kit in a
# 32-bit prefix where this host runs 32-bit code; where its kernel runs none,
# they run the kit's x86_64 twin (build/win64, same sources, same payload) in
# a 64-bit prefix. KIT_WINE_ARCH=win64 forces the twin on any host.
#
#   choose_wine_target  sets KIT_WINE_ARCH to win32 or win64, which is also
#                       the preset the Wine programs come from, and says why
#   build_kits          builds the shipped kit, and the twin where it runs,
#                       and sets KIT_VERSION to the shipped kit's version
#   use_wine            sets up Wine's environment for $KIT_WINE_ARCH
#   demo_prefix P [DPI] makes P the WINEPREFIX, holding the demo installation
#                       (made from the template when P doesn't exist), at
#                       DPI (LogPixels) when given
#   shoot_kit_window KIT ROOT WINDOW MARGIN
#                       on a display: starts KIT, waits for its window and
#                       the check, saves the screen to ROOT and the window,
#                       with MARGIN pixels of backdrop, to WINDOW; leaves
#                       the window's X, Y, WIDTH and HEIGHT set

kit_wine_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

choose_wine_target() {
    local why
    case "${KIT_WINE_ARCH:-}" in
    win64) why="forced by KIT_WINE_ARCH=win64" ;;
    win32) why="forced by KIT_WINE_ARCH=win32" ;;
    "")
        # Trying is the only sure test: the kernel may refuse i386 programs.
        if why=$(/usr/lib/wine/wine --version 2>&1); then
            KIT_WINE_ARCH=win32
            why="this host runs 32-bit code ($why)"
        else
            KIT_WINE_ARCH=win64
            why="this host runs no 32-bit code: /usr/lib/wine/wine --version said: $(echo "$why" | head -1)"
        fi ;;
    *)
        echo "wine: KIT_WINE_ARCH must be win32, win64 or unset, not '$KIT_WINE_ARCH'" >&2
        return 1 ;;
    esac
    export KIT_WINE_ARCH
    if [ "$KIT_WINE_ARCH" = win32 ]; then
        echo "wine: Win32 programs run as the i686 build (build/win32) in a 32-bit prefix, $why"
    else
        echo "wine: Win32 programs run as the x86_64 twin (build/win64) in a 64-bit prefix, $why"
    fi
}

build_kits() {
    # The shipped kit is always built: the checks of its PE and payload read
    # it, and the twin carries its payload and its version (the KIT_VERSION
    # its build folder was configured with, 2.39 unless set).
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j2
    KIT_VERSION=$(sed -n 's/^KIT_VERSION:[A-Z]*=//p' build/win32/CMakeCache.txt)
    if [ "$KIT_WINE_ARCH" = win64 ]; then
        cmake --preset win64 -DKIT_VERSION="$KIT_VERSION" >/dev/null
        cmake --build --preset win64 -j2
    fi
}

use_wine() {
    export KIT_WINE_ARCH=${KIT_WINE_ARCH:-win32}
    export WINEARCH=$KIT_WINE_ARCH WINEDEBUG=${WINEDEBUG:--all}
    if [ "$KIT_WINE_ARCH" = win64 ]; then
        export WINELOADER=/usr/lib/wine/wine64
        case ":$PATH:" in *":$kit_wine_tools/wine64:"*) ;; *) export PATH=$kit_wine_tools/wine64:$PATH ;; esac
    fi
}

# The demo installation: a record of "Meridal - 2013 v.2.35" in C:\Meridal2013,
# an old program and an edited report template there.
demo_prefix() {
    export WINEPREFIX=$1
    local install=$WINEPREFIX/drive_c/Meridal2013
    [ -d "$WINEPREFIX" ] || bash "$kit_wine_tools/../tests/e2e/make_prefix.sh" "$WINEPREFIX" >/dev/null
    rm -rf "$install"
    mkdir -p "$install/Data"
    printf 'MZ old program' >"$install/Meridal_2013.exe"
    printf '{\\rtf1\\ansi raport editat de primarie\\par}' >"$install/Data/raport.rtf"
    # The 32-bit view, where the application's installer writes its record.
    wine reg add 'HKLM\Software\Varnoti\82' /v CALE /t REG_SZ /d 'C:\Meridal2013' /f /reg:32 >/dev/null
    wine reg add 'HKLM\Software\Varnoti\82' /v VER /t REG_SZ /d 'Meridal - 2013 v.2.35' /f /reg:32 >/dev/null
    if [ -n "${2:-}" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null
    fi
    # Let this Wine session end: the kit's must start on the display it uses,
    # and its wineserver reads LogPixels when it starts.
    wineserver -w
}

shoot_kit_window() {
    local kit=$1 root=$2 window=$3 margin=$4 id
    wine "$kit" &
    # The caption's version is the build's KIT_VERSION.
    id=$(xdotool search --sync --name '^Meridal - 2013 - UpGrade v\.[0-9.]+$' | head -1)
    sleep 2 # the version check runs one second after the window shows
    eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root "$root"
    convert "$root" -crop $((WIDTH + 2 * margin))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin)) +repage \
        "$window"
}
