#!/usr/bin/env bash
# Runs the benchmarks: the native ones (build/native/folvane_bench, when it has been built), then,
# under Wine, the lock latency and idle cost of the real Folvane.exe.
#
#   scripts/bench.sh [trials] [idle seconds]      (defaults: 100 trials, 60 s)
#
# The Windows programs are built in build/win32, or in FOLVANE_WIN32_BUILD when that names
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

win32=${FOLVANE_WIN32_BUILD:-build/win32}
if [[ $win32 == build/win32 ]]; then
  folvane_build win32 folvane_lock_latency
else
  cmake -S . -B "$win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$win32" -j "$(nproc)" --target folvane_lock_latency
fi

source scripts/wine_env.sh
trap wine_env_stop EXIT
echo "== lock latency and idle cost of Folvane.exe under Wine"
wine "$win32/folvane_lock_latency.exe" "$@"
