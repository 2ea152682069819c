#!/usr/bin/env bash
# The main job: the stand-in CAD host with a sample drawing and swivex.exe side by side under Wine (code page 932).
# With a display a person picks an object in the host, presses 取込, types a new direction and presses 作成.
# Without one the same runs scripted on a virtual display: everything is selected, captured, given the direction
# 30°0'0" and drawn; out/ receives screenshots (start, before and after 作成), the resulting drawing as DXF (and
# JSON), and the fields and the commands sent are printed.
set -euo pipefail
SWIVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$SWIVEX_ROOT/scripts/setup.sh"
swivex_setup
cd "$SWIVEX_ROOT"
BUILD=${SWIVEX_DEMO_BUILD:-build/win}
cmake -S . -B $BUILD -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DSWIVEX_WINEPREFIX="$WINEPREFIX" >/dev/null
cmake --build $BUILD --target swivex standin swivex_demo
export LC_ALL=ja_JP.UTF-8
mkdir -p out
winpath() { echo "Z:$(realpath "$1" | sed 's|/|\\|g')"; }

if [ -n "${DISPLAY:-}" ]; then
  # For a person: the tool in a writable folder of its own (its exports land beside it), the host beside it.
  mkdir -p out/swivex
  cp $BUILD/app/swivex.exe out/swivex/
  sed 's/^pick .*//' scripts/demo-drawing.txt > out/swivex/drawing.txt
  echo "pick click" >> out/swivex/drawing.txt
  wine $BUILD/standin/standin.exe "$(winpath out/swivex/drawing.txt)" --dxf "$(winpath out)\\rotated.dxf" &
  host=$!
  sleep 2
  (cd out/swivex && wine swivex.exe)
  wine $BUILD/standin/standin.exe --signal save >/dev/null 2>&1 || true
  wine $BUILD/standin/standin.exe --signal quit >/dev/null 2>&1 || true
  wait $host || true
  exit 0
fi

# Scripted, on a virtual display: the driver asks for each screenshot with a marker file. The full run at 96 dpi,
# then short ones in copies of the prefix set to 120 and 144 dpi; out/demo-96dpi.png, out/demo-120dpi.png and
# out/demo-144dpi.png show the dialog after 作成 at each scale, out/demo-*dpi-widest.png with the widest values.
rm -f out/*.png out/rotated.dxf out/rotated.json out/.shot-*
scenario=out/demo-drawing.txt
{ cat scripts/demo-drawing.txt; echo "pick never"; } > $scenario
run_scripted() {  # prefix screen driver-arguments...
  local prefix=$1 screen=$2
  shift 2
  WINEPREFIX=$prefix xvfb-run -a -s "-screen 0 $screen" bash -c '
    set -u
    build=$1
    shift
    wine "$build/tests/e2e/swivex_demo.exe" "$@" & driver=$!
    while kill -0 $driver 2>/dev/null; do
      for marker in out/.shot-*; do
        [ -e "$marker" ] || continue
        case "$marker" in *.done) continue ;; esac
        name=${marker#out/.shot-}
        [ -e "$marker.done" ] && continue
        import -window root "out/demo-$name.png"
        touch "$marker.done"
      done
      sleep 0.2
    done
    wait $driver; status=$?
    wineserver -k 2>/dev/null || true
    exit $status' _ "$BUILD" "$@"
}
run_scripted "$WINEPREFIX" 1024x560x24 "$(winpath out)" "$(winpath $scenario)" 96dpi
echo
echo "== the same dialog at 120 dpi"
run_scripted "$(swivex_dpi_prefix 120)" 1280x600x24 "$(winpath out)" "$(winpath $scenario)" 120dpi --short
echo
echo "== the same dialog at 144 dpi"
run_scripted "$(swivex_dpi_prefix 144)" 1280x600x24 "$(winpath out)" "$(winpath $scenario)" 144dpi --short
echo
echo "screenshots: $(ls out/demo-*.png | tr '\n' ' ')"
echo "drawing:     out/rotated.dxf (and out/rotated.json)"
