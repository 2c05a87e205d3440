# Sourced by the scripts: configures and builds one of the three builds.
#   folvane_build native|win64|win32 [target...]
# win64 is the program users get; win32 is the same for 32-bit Windows. FOLVANE_WERROR=ON makes
# every warning an error.
folvane_build() {
  local kind=$1
  shift
  local root dir
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  dir=$root/build/$kind
  local toolchain=()
  case $kind in
    native) ;;
    win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
    *)
      echo "build: no build called '$kind'" >&2
      return 1
      ;;
  esac
  cmake -S "$root" -B "$dir" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLVANE_WERROR="${FOLVANE_WERROR:-OFF}" >/dev/null
  local targets=()
  (($#)) && targets=(--target "$@")
  cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}
