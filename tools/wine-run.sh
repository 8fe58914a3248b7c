#!/bin/bash
# Runs a Windows program under Wine in a private 32-bit prefix, created on first use.
#   wine-run.sh --prefix DIR program.exe [args...]
# With NORVI_GUI set and no DISPLAY, the program runs on a virtual display.
set -eu

if [ "${1:-}" = "--prefix" ]; then
  prefix=$2
  shift 2
else
  prefix=${WINEPREFIX:-$HOME/.wine-norvi}
fi
export WINEPREFIX=$prefix WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -f "$WINEPREFIX/.norvi-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.norvi-ready" ]; then
      # Skip the Mono and Gecko installers: nothing here needs them and they would prompt.
      WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
      wine regedit /S "$here/wine-prefix.reg" >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.norvi-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ -n "${NORVI_GUI:-}" ] && [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
