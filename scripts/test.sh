#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests first, then, under Wine, the
# Windows layer's tests against the system and the end-to-end tests of Folvane.exe.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/build.sh

folvane_build native
ctest --test-dir build/native --output-on-failure

folvane_build win32
source scripts/wine_env.sh
trap wine_env_stop EXIT
ctest --test-dir build/win32 --output-on-failure
