#!/usr/bin/env bash
# Runs every test: the portable core natively, again under AddressSanitizer and UndefinedBehaviorSanitizer, the
# fuzz targets for a bounded time, and the Windows build (core tests, link and host tests, end-to-end runs) under
# Wine with code page 932 on a virtual display. Installs what it needs first. The last line counts the cases.
set -uo pipefail
SWIVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$SWIVEX_ROOT/scripts/setup.sh"
swivex_setup || exit 1
cd "$SWIVEX_ROOT"

JOBS=$(nproc)
failed_stages=()
stages=()

run_stage() {  # name build-dir ctest-args... (configure and build already done)
  local name=$1 dir=$2; shift 2
  stages+=("$dir")
  echo "== $name: tests"
  (cd "$dir" && ctest --output-on-failure --output-junit ctest-junit.xml "$@") || failed_stages+=("$name")
}

configure_build() {  # name build-dir cmake-args...
  local name=$1 dir=$2; shift 2
  echo "== $name: build"
  rm -f "$dir/ctest-junit.xml"
  if ! { cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -j "$JOBS"; } >"$dir.build.log" 2>&1; then
    tail -40 "$dir.build.log"
    failed_stages+=("$name (build)")
    stages+=("$dir")
    return 1
  fi
}

mkdir -p build
configure_build native build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWIVEX_BENCH=ON &&
  run_stage native build/native -j "$JOBS" -LE fuzz

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
configure_build sanitizers build/asan -DCMAKE_BUILD_TYPE=Debug -DSWIVEX_SANITIZE=ON &&
  run_stage sanitizers build/asan -j "$JOBS" -LE 'fuzz|oracle'

if [ -f fuzz/CMakeLists.txt ]; then
  configure_build fuzz build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWIVEX_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ &&
    run_stage fuzz build/fuzz -L fuzz
fi

# Windows programs share one display, one clipboard and one foreground window: run them one at a time.
configure_build windows build/win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake &&
  { rm -f build/win/gtest-xml/*.xml
    stages+=("build/win")
    echo "== windows: tests under Wine (code page 932, virtual display)"
    (cd build/win && LC_ALL=ja_JP.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --output-on-failure --output-junit ctest-junit.xml) || failed_stages+=("windows"); }
wineserver -k 2>/dev/null || true

echo
[ ${#failed_stages[@]} -gt 0 ] && echo "Failed stages: ${failed_stages[*]}"
# Which DXF sample sets the ezdxf comparison and the fuzzer ran on (the repository's own, and ../shared's when there).
grep -h -m1 -E '^(sample|seed) sets:' build/native/Testing/Temporary/LastTest.log build/fuzz/Testing/Temporary/LastTest.log 2>/dev/null
python3 scripts/summarize.py "${stages[@]}"
status=$?
[ ${#failed_stages[@]} -gt 0 ] && status=1
exit $status
