#!/usr/bin/env bash
# Set-up, build, then start the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
exec build/app/quorel
