# Sourced by the scripts that run Windows programs: prepares Wine for one build with the Japanese
# ANSI code page (932), on an X display (a private Xvfb when none answers), in a prefix of the
# build tree that is created once and then reused.
#
#   source scripts/wine_env.sh win64|win32     # then: wine program.exe ..., winepath ...
#   wine_env_stop                              # ends the wineserver and the Xvfb this started
#
# `wine` and `winepath` are shell functions here that use the build's own loader (see
# wine_loader.sh); programs started by other tools name the loader themselves (ctest takes it
# from the toolchain file). WINEPREFIX, when set by the caller, names the prefix instead of
# build/wineprefix-<build>. FOLVANE_XVFB_DISPLAY is set when this started its own Xvfb.

_folvane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$_folvane_root/scripts/wine_loader.sh"

FOLVANE_WINE_ARCH=${1:-win64}
FOLVANE_WINE_LOADER=$(folvane_wine_loader "$FOLVANE_WINE_ARCH") || return 1
export WINELOADER=$FOLVANE_WINE_LOADER
export WINEDEBUG=-all
# No Mono or Gecko: creating a prefix would otherwise wait for their installers.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
if [[ -z ${WINEPREFIX:-} ]]; then
  export WINEPREFIX=$_folvane_root/build/wineprefix-$FOLVANE_WINE_ARCH
  _folvane_own_prefix=1
fi

wine() { "$FOLVANE_WINE_LOADER" "$@"; }
winepath() { "$FOLVANE_WINE_LOADER" winepath "$@"; }

# Starts Xvfb on a free display and waits until it answers.
_folvane_start_xvfb() {
  local fifo number
  fifo=$(mktemp -u) && mkfifo "$fifo"
  # -displayfd makes the server pick a free display and write its number once it is ready.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  FOLVANE_XVFB_PID=$!
  read -r -t 20 number <"$fifo" || number=
  rm -f "$fifo"
  if [[ -z $number ]]; then
    echo "wine_env: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=:$number
  export FOLVANE_XVFB_DISPLAY=$DISPLAY
}

if [[ -z ${DISPLAY:-} ]] || ! xdpyinfo >/dev/null 2>&1; then
  _folvane_start_xvfb || return 1
fi

# A prefix is ready once its stamp exists; a prefix left half-made by an interrupted run is redone.
if [[ ! -f $WINEPREFIX/.folvane-ready ]]; then
  echo "wine_env: creating the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  if ! WINEARCH=$FOLVANE_WINE_ARCH wine wineboot -i >/dev/null 2>&1; then
    echo "wine_env: $FOLVANE_WINE_LOADER could not create the prefix" >&2
    return 1
  fi
  # Without a window manager, Wine waits about 2 s whenever a managed window is hidden.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.folvane-ready"
fi

# Wine draws the caption buttons with its Marlett font, which it finds only among the prefix's
# own fonts.
_folvane_fonts=$WINEPREFIX/drive_c/windows/Fonts
if [[ ! -f $_folvane_fonts/marlett.ttf && -f /usr/share/wine/fonts/marlett.ttf ]]; then
  cp /usr/share/wine/fonts/marlett.ttf "$_folvane_fonts/"
fi

# One wineserver for the whole run, so that each program does not start its own.
wineserver -p
# Start Wine's own services now, with no pipe of ours open: started by a test instead, they would
# inherit its output and keep the test runner waiting for an end of file that never comes.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  if [[ -n ${FOLVANE_XVFB_PID:-} ]]; then
    kill "$FOLVANE_XVFB_PID" 2>/dev/null || true
    wait "$FOLVANE_XVFB_PID" 2>/dev/null || true
    unset FOLVANE_XVFB_PID FOLVANE_XVFB_DISPLAY DISPLAY
  fi
  if [[ -n ${_folvane_own_prefix:-} ]]; then
    unset WINEPREFIX _folvane_own_prefix
  fi
}
