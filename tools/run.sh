#!/bin/bash
# Installs what is missing, builds the Windows program and starts it under Wine with the
# simulated receiver. Without a display it runs on a virtual one and writes a screenshot of
# the main window to build/<tree>/screenshots/main-window.png. The 32-bit program runs where
# the machine can execute 32-bit programs; elsewhere the 64-bit build of the same code does.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/install-deps.sh"
source "$root/tools/windows-tree.sh"
build=${NORVI_BUILD_DIR:-$root/build}/$windows_tree
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$windows_toolchain.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"

program="$build/dist/NorviDriver.exe"
# The main window's title, as the program itself spells it.
title=$(sed -n 's/.*kMainWindowTitle\[\] = u"\(.*\)";.*/\1/p' "$root/app/Startup.h")

export NORVI_SIMULATED_RECEIVER=${NORVI_SIMULATED_RECEIVER:-1}
runner=("$root/tools/wine-run.sh" --prefix "$build/wineprefix" --arch "$windows_arch")
if [ -n "${DISPLAY:-}" ]; then
  exec "${runner[@]}" "$program"
fi

# No display: run on a virtual one, take a screenshot once the window is up, keep running
# until the program ends.
mkdir -p "$build/screenshots"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$@" &
  pid=$!
  for _ in $(seq 60); do
    if xdotool search --name "'"$title"'" >/dev/null 2>&1; then
      sleep 1
      import -window root "'"$build"'/screenshots/main-window.png" &&
        echo "Screenshot: '"$build"'/screenshots/main-window.png"
      break
    fi
    sleep 1
  done
  wait $pid' _ "${runner[@]}" "$program"
