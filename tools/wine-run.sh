#!/bin/bash
# Runs a Windows program under Wine in a private 32-bit prefix, created on first use.
#   wine-run.sh [--prefix DIR] [--arch win32|win64] program.exe [args...]
# A win64 prefix (for the 64-bit test build) runs Wine's 64-bit loader and server directly, so
# it works on machines that cannot execute 32-bit programs.
# With NORVI_GUI set and no DISPLAY, the program runs on a virtual display.
set -eu

prefix=${WINEPREFIX:-$HOME/.wine-norvi}
arch=win32
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    *) break ;;
  esac
done
export WINEPREFIX=$prefix WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
here=$(cd "$(dirname "$0")" && pwd)
wine=wine
wineserver=wineserver
if [ "$arch" = win64 ]; then
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver64
  export WINELOADER=$wine WINESERVER=$wineserver
fi

# A prefix made before the settings file last changed takes the settings again.
if [ ! -f "$WINEPREFIX/.norvi-ready" ] || [ "$here/wine-prefix.reg" -nt "$WINEPREFIX/.norvi-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.norvi-ready" ] || [ "$here/wine-prefix.reg" -nt "$WINEPREFIX/.norvi-ready" ]; then
      # Skip the Mono and Gecko installers: nothing here needs them and they would prompt.
      WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >/dev/null 2>&1
      "$wine" regedit /S "$here/wine-prefix.reg" >/dev/null 2>&1 || true
      "$wineserver" -w
      touch "$WINEPREFIX/.norvi-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ -n "${NORVI_GUI:-}" ] && [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" "$@"
fi
exec "$wine" "$@"
