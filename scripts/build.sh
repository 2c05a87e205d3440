# Sourced by test.sh and run.sh: configures and builds one of the two builds.
#   folvane_build native|win32 [target...]
folvane_build() {
  local kind=$1
  shift
  local root dir
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  dir=$root/build/$kind
  local toolchain=()
  [[ $kind == win32 ]] && toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake")
  cmake -S "$root" -B "$dir" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  local targets=()
  (($#)) && targets=(--target "$@")
  cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}
