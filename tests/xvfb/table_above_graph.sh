#!/usr/bin/env bash
# Starts the program in a real X window under Xvfb, with or without a window
# manager, and checks with xdotool and screenshots that the table stays above
# the graph after clicks, wheel turns and keys on the graph:
#   table_above_graph.sh PROGRAM [plain|wm]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export program="$1" mode="${2:-plain}" here
exec xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  if [ "$mode" = wm ]; then
    openbox >/dev/null 2>&1 & wm=$!
    # The program starts once the window manager runs (10 s at most).
    for _ in $(seq 200); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
      sleep 0.05
    done
  fi
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 "$program" 2>/dev/null & pid=$!
  status=0
  /usr/bin/python3 "$here/table_above_graph.py" || status=$?
  kill "$pid"; wait "$pid" 2>/dev/null || true
  if [ -n "${wm:-}" ]; then kill "$wm"; wait "$wm" 2>/dev/null || true; fi
  exit "$status"'
