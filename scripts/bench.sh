#!/usr/bin/env bash
# Runs the benchmarks: the native ones (build/native/folvane_bench, when it has been built), then,
# under Wine's 64-bit loader, the lock latency and idle cost of the 64-bit Folvane.exe, and the same
# for another program's file dialogs (the trials and idle seconds given, at the default interval).
#
#   scripts/bench.sh [trials] [idle seconds] [interval ms]   (defaults: 100 trials, 60 s, 100 ms)
#
# The Windows programs are built in build/win64, or in FOLVANE_WIN64_BUILD when that names
# another build folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/build.sh

if [[ -x build/native/folvane_bench ]]; then
  echo "== native benchmarks (build/native/folvane_bench)"
  build/native/folvane_bench
else
  echo "== native benchmarks: build/native/folvane_bench is not built; skipped"
fi

win64=${FOLVANE_WIN64_BUILD:-build/win64}
if [[ $win64 == build/win64 ]]; then
  folvane_build win64 folvane_lock_latency folvane_dialog_latency
else
  cmake -S . -B "$win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$win64" -j "$(nproc)" --target folvane_lock_latency folvane_dialog_latency
fi

source scripts/wine_env.sh win64
trap wine_env_stop EXIT
echo "== lock latency and idle cost of the 64-bit Folvane.exe under Wine"
wine "$win64/folvane_lock_latency.exe" "$@"
echo "== file dialogs: lock latency and idle cost of the 64-bit Folvane.exe under Wine"
wine "$win64/folvane_dialog_latency.exe" "${@:1:2}"
