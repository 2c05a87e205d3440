# Sourced: the one place that knows which Wine loader runs which build.
#
# The 64-bit program runs under /usr/lib/wine/wine64 on every machine. The 32-bit program needs
# Wine's 32-bit loader, /usr/lib/wine/wine, an i386 Linux program that some machines cannot run
# at all ("Exec format error"). /usr/bin/wine is never used: it picks the 32-bit loader whenever
# wine32 is installed, whether or not the machine can run it.
#
#   folvane_wine_loader win64|win32     prints the loader of that build
#   folvane_win32_wine_usable           true when the 32-bit loader runs here; otherwise false,
#                                       with the reason in FOLVANE_WIN32_WINE_WHY
#   folvane_forbid_32bit_loader         makes every later call of wine, wineboot, winepath ... by
#                                       name fail loudly, as on a machine without 32-bit support
#
# FOLVANE_SKIP_WIN32_WINE=1 takes this machine for one that cannot run 32-bit programs.

folvane_wine_loader() {
  case $1 in
    win64) echo /usr/lib/wine/wine64 ;;
    win32) echo /usr/lib/wine/wine ;;
    *)
      echo "wine_loader: no build called '$1'" >&2
      return 1
      ;;
  esac
}

folvane_win32_wine_usable() {
  FOLVANE_WIN32_WINE_WHY=
  if [[ ${FOLVANE_SKIP_WIN32_WINE:-0} == 1 ]]; then
    FOLVANE_WIN32_WINE_WHY="FOLVANE_SKIP_WIN32_WINE=1 is set"
  elif [[ ! -x /usr/lib/wine/wine ]]; then
    FOLVANE_WIN32_WINE_WHY="Wine's 32-bit loader (wine32) is not installed"
  elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    FOLVANE_WIN32_WINE_WHY="this machine cannot run 32-bit Linux programs"
  fi
  [[ -z $FOLVANE_WIN32_WINE_WHY ]]
}

folvane_forbid_32bit_loader() {
  local root stubs name
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  stubs=$root/build/no-32bit-wine
  mkdir -p "$stubs"
  for name in wine wine-stable wineboot winecfg winepath wineconsole winedbg winefile msiexec \
    regedit notepad; do
    cat >"$stubs/$name" <<STUB
#!/bin/sh
echo "'$name' picks Wine's 32-bit loader, which this machine cannot run" >&2
exit 126
STUB
    chmod +x "$stubs/$name"
  done
  export PATH=$stubs:$PATH
}
