#!/usr/bin/env bash
# Builds the engine fuzzer and runs it for the given seconds:
#   scripts/fuzz.sh SECONDS
# New inputs go to build-fuzz/corpus, crashing inputs to build-fuzz/findings.
# Exits non-zero when the fuzzer finds something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:?usage: scripts/fuzz.sh SECONDS}"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUOREL_FUZZ=ON -DQUOREL_BENCH=OFF >/dev/null
cmake --build build-fuzz --target engine_fuzz

mkdir -p build-fuzz/corpus build-fuzz/findings
build-fuzz/fuzz/engine_fuzz build-fuzz/corpus fuzz/seeds \
  -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -artifact_prefix=build-fuzz/findings/ -print_final_stats=1
