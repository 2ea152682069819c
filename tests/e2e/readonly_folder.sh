#!/usr/bin/env bash
# Runs the read-only folder case: swivex.exe in a folder marked immutable (chattr +i), which refuses new files
# even to root, as which Wine runs here. Exit 77 (skipped) where the file system cannot mark it.
# Usage: readonly_folder.sh TEST_EXE SWIVEX_EXE
set -uo pipefail
test_exe=$1
swivex_exe=$2
dir=$(mktemp -d /tmp/swivex-readonly-XXXXXX)
cleanup() { chattr -i "$dir/bin" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
mkdir "$dir/bin" && cp "$swivex_exe" "$dir/bin/swivex.exe"
if ! chattr +i "$dir/bin" 2>/dev/null; then
  echo "chattr +i is not supported here: the read-only folder case is skipped"
  exit 77
fi
export SWIVEX_E2E_READONLY_FOLDER="Z:${dir//\//\\}\\bin"
wine "$test_exe"
