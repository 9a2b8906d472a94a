#!/usr/bin/env bash
# Builds the kit and runs every test: native unit tests (also under
# sanitizers), payload checks with independent readers, and the real kit
# under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2
cmake --preset native >/dev/null
cmake --build --preset native -j2

cd build/native
xvfb-run -a -s "-screen 0 1024x768x24 -wr" ctest --output-on-failure -j2 "$@"
