#!/usr/bin/env bash
# Runs the DXF reader fuzzer seeded with the sets that are there: fuzz/seeds, the repository's DXF samples and, when
# it lies beside the repository (CI), ../shared/dxf-samples. Prints which sets seed the run.
# run.sh FUZZER CORPUS-FOLDER REPOSITORY FUZZER-OPTIONS...
set -euo pipefail
fuzzer=$1 corpus=$2 root=$3
shift 3
seeds=("$root/fuzz/seeds" "$root/tests/data/dxf-samples")
shared=$(cd "$root/.." && pwd)/shared/dxf-samples
used=() skipped=()
for folder in "${seeds[@]}" "$shared"; do
  if [ -d "$folder" ] && [ -n "$(ls -A "$folder")" ]; then used+=("$folder"); else skipped+=("$folder"); fi
done
echo "seed sets: ${used[*]}${skipped[*]:+ (not there, skipped: ${skipped[*]})}"
exec "$fuzzer" "$@" "$corpus" "${used[@]}"
