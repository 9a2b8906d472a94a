#!/usr/bin/env bash
# Runs the driver's full_disk scenario with a 2 MB tmpfs mapped as drive M:
# in a fresh copy of the template Wine prefix (by wine_run.sh).
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
# wine_run.sh has ended its wineserver when it returns.
trap 'umount "$disk" && rmdir "$disk"' EXIT
KIT_DRIVE_M=$disk "$(dirname "$0")/wine_run.sh" "$template" "$driver" full_disk "$kit"
