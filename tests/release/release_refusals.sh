#!/usr/bin/env bash
# The release command refuses, before it builds anything, to make a release
# without the vendor's program or with a file that is no 32-bit Windows GUI
# program, names --meridal-exe in its message and leaves no release file.
#   tests/release/release_refusals.sh <work folder>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$1
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

failed=0
refuses() {  # <what> <release.sh arguments...>
    local build=$work/build
    if bash "$root/tools/release.sh" --build-dir "$build" "${@:2}" >"$work/out" 2>"$work/err"; then
        echo "FAIL: $1: the release command succeeded" >&2
        failed=1
        return
    fi
    if grep -q -- --meridal-exe "$work/err"; then
        echo "refused, naming --meridal-exe: $1: $(tail -n 1 "$work/err")"
    else
        echo "FAIL: $1: the refusal doesn't name --meridal-exe:" >&2
        cat "$work/err" >&2
        failed=1
    fi
    if [ -e "$build/dist/MeridalUpgrade.exe" ] || [ -e "$build/CMakeCache.txt" ]; then
        echo "FAIL: $1: a release file or a build was left in $build" >&2
        failed=1
    fi
    rm -rf "$build"
}

refuses "no program given"
printf 'Meridal - 2013\r\nnot a program\r\n' >"$work/Meridal_2013.exe"
refuses "a text file as the program" --meridal-exe "$work/Meridal_2013.exe"

[ $failed -eq 0 ] || exit 1
rm -rf "$work"
