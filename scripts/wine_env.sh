# Sourced by the scripts that run Windows programs: prepares Wine for the 32-bit program with the
# Japanese ANSI code page (932), on an X display (a private Xvfb when none answers), in a prefix
# of the build tree that is created once and then reused.
#
#   source scripts/wine_env.sh     # then: wine program.exe ...
#   wine_env_stop                  # ends the wineserver and the Xvfb this started
#
# FOLVANE_XVFB_DISPLAY is set when this started its own Xvfb.

_folvane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEDEBUG=-all
# No Mono or Gecko: creating a prefix would otherwise wait for their installers.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEPREFIX=${WINEPREFIX:-$_folvane_root/build/wineprefix}

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
  WINEARCH=win32 wineboot -i >/dev/null 2>&1
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
    unset FOLVANE_XVFB_PID FOLVANE_XVFB_DISPLAY
  fi
}
