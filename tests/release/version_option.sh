#!/usr/bin/env bash
# The build takes a KIT_VERSION only where the kit's own version check reads
# the record the kit writes back as that version (cmake/KitVersion.cmake).
#   tests/release/version_option.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
failed=0
for version in 2.39 2.41 2.40 9.99 0.50 \
               -2.4 -2 -2.00 -10.00 -2.395 -0.00 -02.39 -2,39 -2.3x -; do
    want=accepted
    case $version in -*) want=refused version=${version#-} ;; esac
    if out=$(cmake -DKIT_VERSION="$version" -P "$root/cmake/KitVersion.cmake" 2>&1); then got=accepted; else got=refused; fi
    echo "KIT_VERSION '$version': $got: $(echo "$out" | grep -v 'Call Stack\|kit_version_parts\|^CMake Error' | tr -s '\n ' ' ')"
    [ "$got" = "$want" ] || { echo "FAIL: KIT_VERSION '$version' was $got, expected $want" >&2; failed=1; }
done
exit $failed
