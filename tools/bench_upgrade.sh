#!/usr/bin/env bash
# Times the kit's upgrade under Wine against a plain copy, a plain flushed
# write and a flushed write renamed into place of the same ten files, reports
# the kit's private memory, idle and during the run, and where the upgrade
# run's own time goes, step by step, and that of an undo right after it.
# Prints figures only; slowness never fails it.
#   tools/bench_upgrade.sh [build folder]
# The build folder defaults to the one this host runs under Wine: build/win32,
# or build/win64 where the host runs no 32-bit code (see tools/wine.sh).
# Needs Wine and xvfb-run; builds nothing (build that preset first).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine.sh"
choose_wine_target || exit 2
build=${1:-$root/build/$KIT_WINE_ARCH}
for program in MeridalUpgrade.exe bench_upgrade.exe bench_steps.exe; do
    [ -f "$build/$program" ] || { echo "bench_upgrade: $build/$program missing; build the $KIT_WINE_ARCH preset first" >&2; exit 2; }
done
template=$(mktemp -d /tmp/kit-bench-template.XXXXXX)
trap 'rm -rf "$template"' EXIT
"$root/tests/e2e/make_prefix.sh" "$template" >/dev/null || { echo "bench_upgrade: no Wine prefix" >&2; exit 2; }
on_display() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24 -wr" "$@"; fi; }
on_display "$root/tests/e2e/wine_run.sh" "$template" "$build/bench_upgrade.exe" "$build/MeridalUpgrade.exe"
status=$?
on_display "$root/tests/e2e/wine_run.sh" "$template" "$build/bench_steps.exe" || status=$?
[ $status -eq 0 ] || echo "bench_upgrade: the benchmark run didn't complete (status $status)" >&2
exit $status
