#!/usr/bin/env bash
# Builds the DXF benchmark in release mode and runs it once: MB/s and peak memory of ReadDxfEntities, dxflib,
# ezdxf and the floor on a generated 200,000-LINE file, then ReadDxfEntities and the floor on a file of 50,000
# two-vertex LWPOLYLINEs (both made once, kept in build/bench/).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSWIVEX_BENCH=ON >/dev/null
cmake --build build/bench --target dxf_bench -j 2 >/dev/null
build/bench/bench/dxf_bench build/bench/dxf-bench.dxf build/bench/dxf-bench-polylines.dxf
