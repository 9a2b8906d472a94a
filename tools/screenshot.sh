#!/usr/bin/env bash
# Refreshes docs/window.png, a real screenshot of the kit's window on the
# demo installation, taken on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
env -u DISPLAY bash tools/demo.sh
cp build/demo/window.png docs/window.png
echo "docs/window.png refreshed"
