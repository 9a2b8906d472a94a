#!/usr/bin/env bash
# Runs the driver's full_disk scenario with a 2 MB tmpfs mapped as drive M:
# in a fresh copy of the template Wine prefix.
#   tests/e2e/full_disk.sh <template prefix> <kitdriver.exe> <MeridalUpgrade.exe>
# Where mounting a tmpfs isn't permitted it prints a SKIP line and exits 77,
# which ctest reports as a skipped test (SKIP_RETURN_CODE), never a pass.
set -uo pipefail
template=$1 driver=$2 kit=$3
disk=$(mktemp -d /tmp/kit-disk.XXXXXX)
if ! mount -t tmpfs -o size=2m tmpfs "$disk" 2>/dev/null; then
    rmdir "$disk"
    echo "SKIP: cannot mount a tmpfs here (needs root or CAP_SYS_ADMIN); full-disk scenario not run"
    exit 77
fi
source "$(dirname "$0")/../../tools/wine.sh"
use_wine
export WINEPREFIX=$(mktemp -d /tmp/kit-wine.XXXXXX)
cp -a "$template/." "$WINEPREFIX/"
ln -sfn "$disk" "$WINEPREFIX/dosdevices/m:"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    umount "$disk" && rmdir "$disk"
    [ -n "${KEEP_PREFIX:-}" ] && echo "prefix kept: $WINEPREFIX" || rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wine "$driver" full_disk "$kit"
status=$?
wineserver -w
exit $status
