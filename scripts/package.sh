#!/usr/bin/env bash
# Set-up, build, then the Debian package; prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && cpack -G DEB -B package >/dev/null)
ls "$PWD"/build/package/quorel_*.deb
