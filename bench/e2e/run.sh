#!/usr/bin/env bash
# Builds the Windows tool and runs its timing beside the stand-in host under Wine on a virtual display.
set -euo pipefail
SWIVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$SWIVEX_ROOT/scripts/setup.sh"
swivex_setup
cd "$SWIVEX_ROOT"
BUILD=build/win-bench
cmake -S . -B $BUILD -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DSWIVEX_BENCH=ON -DSWIVEX_WINEPREFIX="$WINEPREFIX" >/dev/null
cmake --build $BUILD --target e2e_bench
LC_ALL=ja_JP.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c 'wine "$0/bench/e2e/e2e_bench.exe"; status=$?; wineserver -k 2>/dev/null; exit $status' "$BUILD"
