#!/usr/bin/env bash
# Takes the pictures of the README's user guide (docs/images/*.png) from the real Folvane.exe:
# builds the program and its scene player (e2e/shots), runs the player inside a Wine desktop on
# a private virtual display, and cuts each scene's windows out of a picture of that display.
#
#   scripts/screenshots.sh [OUTPUT_FOLDER]      # docs/images unless told
#
# FOLVANE_SHOTS_BIN names a build folder that already holds Folvane.exe and folvane_shots.exe;
# then nothing is built. The Wine prefix is its own (build/wineprefix-shots-win64), so this never
# disturbs a test run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=$(realpath -m "${1:-docs/images}")

bash scripts/setup.sh
if [[ -n ${FOLVANE_SHOTS_BIN:-} ]]; then
  bin=$(realpath "$FOLVANE_SHOTS_BIN")
else
  source scripts/build.sh
  folvane_build win64 Folvane folvane_shots
  bin=$root/build/win64
fi
mkdir -p "$out"

# Always a display of our own: nothing else may come to the front during a scene.
unset DISPLAY
export WINEPREFIX=${FOLVANE_SHOTS_PREFIX:-$root/build/wineprefix-shots-win64}
source scripts/wine_env.sh win64
scenes=$(mktemp -d)
trap 'wine_env_stop; rm -rf "$scenes"' EXIT

# The desktop draws frames and captions, and its task bar holds the notification area.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Folvane' /v EnableShell /t REG_DWORD /d 1 /f \
  >/dev/null 2>&1
wine explorer /desktop=Folvane,1024x768 "$(winepath -w "$bin/folvane_shots.exe")" \
  "$(winepath -w "$scenes")" </dev/null >/dev/null 2>&1 &

# The desktop is an X window of its own; scene boxes are in its coordinates.
desktop=
deadline=$((SECONDS + 240))
while :; do
  if [[ -z $desktop ]]; then
    desktop=$(xwininfo -root -tree 2>/dev/null | awk '/"Folvane - Wine desktop"/ {print $1; exit}')
  fi
  for rect in "$scenes"/*.rect; do
    [[ -e $rect && -n $desktop ]] || continue
    name=$(basename "$rect" .rect)
    [[ -e $scenes/$name.done ]] && continue
    read -r x y w h zoom <"$rect"
    import -window "$desktop" -crop "${w}x${h}+${x}+${y}" +repage "$scenes/$name.png"
    convert "$scenes/$name.png" -scale "${zoom:-100}%" -strip "$out/$name.png"
    echo "screenshots: $name.png (${w}x${h})"
    touch "$scenes/$name.done"
  done
  if [[ -e $scenes/error.txt ]]; then
    echo "screenshots: the scene player failed: $(cat "$scenes/error.txt")" >&2
    exit 1
  fi
  [[ -e $scenes/finished ]] && break
  if ((SECONDS > deadline)); then
    echo "screenshots: the scene player did not finish in time" >&2
    exit 1
  fi
  sleep 0.05
done
