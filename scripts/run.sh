#!/usr/bin/env bash
# Builds the 64-bit Folvane.exe and runs it under Wine's 64-bit loader with the Japanese code page
# until it ends. Its data files are written beside it, in build/win64.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/build.sh
folvane_build win64 Folvane
source scripts/wine_env.sh win64
trap wine_env_stop EXIT

if [[ -n ${FOLVANE_XVFB_DISPLAY:-} ]]; then
  # No screen of ours: the program draws on a virtual one, inside a Wine desktop that gives its
  # windows frames and captions.
  echo "Folvane runs on the virtual display $DISPLAY. To see it, from another terminal:"
  echo "  DISPLAY=$DISPLAY import -window root folvane.png    # a picture of the screen"
  echo "  x11vnc -display $DISPLAY                            # or watch and use it over VNC"
  wine explorer /desktop=Folvane,1024x768 build/win64/Folvane.exe
else
  wine build/win64/Folvane.exe
fi
