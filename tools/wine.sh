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
