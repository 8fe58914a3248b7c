#!/bin/bash
# The benchmark command: the Windows timing programs under Wine on a virtual display.
#   bash tools/bench.sh [PRESSES=320] [ROUNDS=2]
# 1. device_latency_bench: semaphore release or hook call to the window's message.
# 2. Side by side, in one run: real X presses of the forward button (tools/xclicker, stamped
#    with CLOCK_MONOTONIC_RAW) to the probe's first Ctrl key-down, for a bare WH_MOUSE_LL hook
#    program that injects Ctrl+C in its callback and for the program's device path with the
#    built-in filter (also read through the reader thread, as the driver is, and in the high
#    priority class). The sides alternate in rounds, so drift on a shared machine hits all.
# Uses build/win64 where the machine cannot execute 32-bit programs, else build/win32.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
presses=${1:-320}
rounds=${2:-2}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=1

arch=win32
toolchain=mingw-i686
if ! "$root/tools/wine-run.sh" --arch win32 cmd /c exit >/dev/null 2>&1; then
  arch=win64
  toolchain=mingw-x86_64
fi
build=${NORVI_BUILD_DIR:-$root/build}/$arch
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" >/dev/null
cmake --build "$build" -j2 --target device_latency_bench side_by_side_bench
gcc -O2 -Wall -Wextra -Werror -o "$build/xclicker" "$root/tools/xclicker.c" -ldl

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env NORVI_BUILD_DIR="${NORVI_BUILD_DIR:-}" \
    bash "$0" "$presses" "$rounds"
fi

wine() { "$root/tools/wine-run.sh" --arch "$arch" "$@"; }
echo "Wine: $arch ($(uname -m) kernel)"
wine "$build/tests/device/device_latency_bench.exe" "${NORVI_BENCH_EVENTS:-20000}"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
per_round=$(( (presses + rounds - 1) / rounds ))
for round in $(seq 1 "$rounds"); do
  for side in bare program reader program-high; do
    log="$out/$side.$round"
    wine "$build/tests/device/side_by_side_bench.exe" "$side" "$per_round" >"$log.win" 2>/dev/null &
    pid=$!
    until grep -q ready "$log.win" 2>/dev/null; do sleep 0.2; done
    # X sends button events only to the window under the pointer: the probe's.
    xdotool mousemove 250 250
    sleep 1  # the probe window settles in front
    "$build/xclicker" "$per_round" 9 40 >"$log.x"
    wait "$pid"
  done
done

python3 - "$out" "$rounds" <<'PY'
import sys, statistics
out, rounds = sys.argv[1], int(sys.argv[2])
def side(name):
    lat = []
    for r in range(1, rounds + 1):
        win = open(f"{out}/{name}.{r}.win").read().split()
        freq = int(win[win.index("frequency") + 1])
        keys = [int(v) * 1e9 / freq for v in win[win.index("frequency") + 2:]]
        presses = [int(v) for v in open(f"{out}/{name}.{r}.x").read().split()]
        if len(keys) != len(presses):
            # Which press a key-down belongs to is then unknown: the round does not count.
            print(f"{name} round {r}: {len(presses)} presses but {len(keys)} key-downs, left out")
            continue
        lat += [(k - p) / 1000 for p, k in zip(presses, keys)]
    lat.sort()
    if not lat:
        return [0], float("nan"), float("nan")
    return lat, lat[len(lat) // 2], lat[len(lat) * 99 // 100]
bare, bare50, bare99 = side("bare")
print("X press to first Ctrl key-down (us); ratio to the bare hook of the same run")
print(f"  {'bare hook':14} n={len(bare)}  p50 {bare50:7.0f}  p99 {bare99:7.0f}")
for name in ("program", "reader", "program-high"):
    lat, p50, p99 = side(name)
    print(f"  {name:14} n={len(lat)}  p50 {p50:7.0f}  p99 {p99:7.0f}"
          f"  ratio p50 {p50 / bare50:.2f}x  p99 {p99 / bare99:.2f}x")
PY
