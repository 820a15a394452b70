#!/usr/bin/env bash
# Starts the program under Xvfb with a session bus and the accessibility bridge,
# then reads it through AT-SPI (atspi_read.py):  atspi_test.sh PROGRAM
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export program="$1" here
exec xvfb-run -a -s "-screen 0 1280x900x24" dbus-run-session -- bash -c '
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" & pid=$!
  status=0
  /usr/bin/python3 "$here/atspi_read.py" || status=$?
  kill "$pid"; wait "$pid" 2>/dev/null || true
  exit "$status"' 2> >(grep -v -e QStandardPaths -e "fd limit" -e dbus-daemon -e SpiRegistry >&2)
