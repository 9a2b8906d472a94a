#!/usr/bin/env bash
# Builds the kit (win32 preset) twice, from two source trees at different
# paths into two fresh build folders, and checks the kits and the stand-ins
# are byte-identical; then rebuilds the second with the stand-in and the
# templates given as the vendor's files, which must give the same kit again.
#   tests/release/reproducible.sh <source folder> <work folder>
# The work folder is emptied first and removed when every check holds.
set -euo pipefail
source=$(cd "$1" && pwd)
work=$2
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

# A second tree somewhere else, as a fresh clone would be.
copy=$work/elsewhere/another-clone
mkdir -p "$copy"
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -

build() {  # <source> <build folder> [cmake options...]
    local log=$2.log
    if ! { cmake --preset win32 -S "$1" -B "$2" "${@:3}" && cmake --build "$2" -j2 --target MeridalUpgrade; } >"$log" 2>&1; then
        cat "$log" >&2
        echo "reproducible: the build in $2 failed" >&2
        exit 1
    fi
}

failed=0
same() {  # <file> <file>
    if cmp -s "$1" "$2"; then
        echo "identical: $(basename "$2"), $(stat -c %s "$2") bytes, sha256 $(sha256sum "$2" | cut -d' ' -f1)"
    else
        echo "DIFFERENT: $1 and $2 ($(cmp "$1" "$2" 2>&1 | head -n 1))" >&2
        failed=1
    fi
}

one=$work/one
two=$work/elsewhere/build-two
build "$source" "$one"
build "$copy" "$two"
same "$one/payload/Meridal_2013.exe" "$two/payload/Meridal_2013.exe"
same "$one/MeridalUpgrade.exe" "$two/MeridalUpgrade.exe"

vendor=$work/vendor
mkdir -p "$vendor/templates"
cp "$one/payload/Meridal_2013.exe" "$vendor/"
cp "$source"/payload/files/* "$vendor/templates/"
build "$copy" "$two" -DMERIDAL_EXE="$vendor/Meridal_2013.exe" -DMERIDAL_TEMPLATES_DIR="$vendor/templates"
same "$one/MeridalUpgrade.exe" "$two/MeridalUpgrade.exe"

[ $failed -eq 0 ] || exit 1
rm -rf "$work"
