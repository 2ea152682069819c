#!/usr/bin/env bash
# The main job: builds swivex.exe and runs it under Wine with code page 932. With a display the window opens for
# a person; without one it runs on a virtual display and a screenshot is written to out/.
set -euo pipefail
SWIVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$SWIVEX_ROOT/scripts/setup.sh"
swivex_setup
cd "$SWIVEX_ROOT"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win --target swivex
mkdir -p out
export LC_ALL=ja_JP.UTF-8
if [ -n "${DISPLAY:-}" ]; then
  wine build/win/app/swivex.exe
else
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine build/win/app/swivex.exe & pid=$!
    sleep 4
    import -window root out/swivex.png
    kill $pid; wineserver -k' 
  echo "screenshot: out/swivex.png"
fi
