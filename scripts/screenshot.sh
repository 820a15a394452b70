#!/usr/bin/env bash
# Writes PNGs of the program under a virtual X server:
#   scripts/screenshot.sh [OUT_DIR]   -> start.png, clear.png, calc.png, zoom.png,
#                                        replay.png, basins.png
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs}"
mkdir -p "$out"
scripts/setup.sh
scripts/build.sh build >/dev/null
for mode in start clear calc zoom replay basins; do
  xvfb-run -a -s "-screen 0 1000x700x24" build/app/quorel_screenshot "$out/$mode.png" "$mode"
  echo "wrote $out/$mode.png"
done
