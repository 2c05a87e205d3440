#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests first, then, under Wine's 64-bit
# loader, the Windows layer's tests against the system and the end-to-end tests of the 64-bit
# Folvane.exe, and the release archives. The 32-bit program is built in every run; its Wine tests
# run only where this machine can run 32-bit programs (FOLVANE_SKIP_WIN32_WINE=1 skips them
# anywhere, as on a machine that cannot).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/build.sh
source scripts/wine_loader.sh
# Every build of the test command is free of warnings.
export FOLVANE_WERROR=ON

folvane_build native
ctest --test-dir build/native --output-on-failure
bash scripts/fuzz.sh -t 5

folvane_build win64
folvane_build win32

win32_wine=1
if ! folvane_win32_wine_usable; then
  win32_wine=0
  # Nothing below may reach the 32-bit loader through /usr/bin/wine and its kin.
  folvane_forbid_32bit_loader
fi

source scripts/wine_env.sh win64
trap wine_env_stop EXIT
ctest --test-dir build/win64 --output-on-failure
wine_env_stop
FOLVANE_PACKAGE_CHECK=1 bash scripts/package.sh

if ((win32_wine)); then
  echo "test: the 32-bit program's Wine tests run: this machine runs Wine's 32-bit loader"
  source scripts/wine_env.sh win32
  ctest --test-dir build/win32 --output-on-failure
  wine_env_stop
else
  echo "test: the 32-bit program's Wine tests are skipped: $FOLVANE_WIN32_WINE_WHY" \
    "(the 32-bit program was built, free of warnings)"
fi
