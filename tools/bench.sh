#!/bin/bash
# The benchmark command: the Windows timing programs under Wine on a virtual display.
#   bash tools/bench.sh [PRESSES=600] [ROUNDS=4]
# 1. device_latency_bench: semaphore release or hook call to the window's message, and the
#    hook callback's own time when it performs a function itself; press_callback_bench: the
#    callback performing copy, a click and a key combination with an input seam that takes
#    0, 200 and 1000 us per injection (a slow SendInput).
# 2. Side by side, in one run: real X presses of the forward button (tools/xclicker, stamped
#    with CLOCK_MONOTONIC_RAW) to the probe's first Ctrl key-down, PRESSES per side, for a bare
#    WH_MOUSE_LL hook program that injects Ctrl+C in its callback (the floor) and for the
#    built NorviDriver.exe itself, started from the installed layout as a user starts it,
#    with a profile that sets forward to copy; for reference also the bare hook on the
#    probe's own thread. The sides alternate in ROUNDS rounds, so drift on a shared machine
#    hits all.
# 3. Side by side, in one run: start-up to the visible main window, resident memory (VmRSS of
#    the Wine process, shown and hidden) and CPU time over an idle stretch, for a bare window
#    program and for the program, both started by startup_bench in their own folders; the
#    sides alternate in STARTS rounds, the idle stretch (IDLE seconds) is taken in the first.
# 4. The load of the twelve language files under Wine.
# Uses build/win64 where the machine cannot execute 32-bit programs, else build/win32, and a
# Wine prefix of its own beside the build (the program's profile is written there).
#   NORVI_BENCH_ONLY=latency|startup runs one half only; NORVI_BENCH_BEFORE=<a dist folder> adds
#   the program of that folder (an earlier build) as a third side of the start-up half.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
presses=${1:-600}
rounds=${2:-4}
starts=${NORVI_BENCH_STARTS:-5}
idle=${NORVI_BENCH_IDLE:-30}
only=${NORVI_BENCH_ONLY:-}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=1

arch=win32
toolchain=mingw-i686
# The probe uses its own default prefix: run again under xvfb-run, the bench's prefix is already
# in the environment and must not become a 32-bit one.
if ! env -u WINEPREFIX "$root/tools/wine-run.sh" --arch win32 cmd /c exit >/dev/null 2>&1; then
  arch=win64
  toolchain=mingw-x86_64
fi
build=${NORVI_BUILD_DIR:-$root/build}/$arch
export WINEPREFIX=${WINEPREFIX:-$build/bench-prefix}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" >/dev/null
cmake --build "$build" -j2 --target device_latency_bench press_callback_bench side_by_side_bench \
  NorviDriver startup_bench bare_window
gcc -O2 -Wall -Wextra -Werror -o "$build/xclicker" "$root/tools/xclicker.c" -ldl

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env NORVI_BUILD_DIR="${NORVI_BUILD_DIR:-}" \
    WINEPREFIX="$WINEPREFIX" \
    bash "$0" "$presses" "$rounds"
fi

wine() { "$root/tools/wine-run.sh" --arch "$arch" "$@"; }
echo "Wine: $arch ($(uname -m) kernel); load average $(cut -d' ' -f1-3 /proc/loadavg)"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if [ "$only" != startup ]; then
wine "$build/tests/device/device_latency_bench.exe" "${NORVI_BENCH_EVENTS:-20000}"
wine "$build/tests/app/press_callback_bench.exe" "${NORVI_BENCH_CALLBACKS:-2000}"

per_round=$(( (presses + rounds - 1) / rounds ))
for round in $(seq 1 "$rounds"); do
  for side in bare program inprobe; do
    log="$out/$side.$round"
    program_pid=
    probe=$side
    if [ "$side" = bare ]; then
      probe=probe
      wine "$build/tests/device/side_by_side_bench.exe" hook "$per_round" >"$log.hook" 2>/dev/null &
      program_pid=$!
      until grep -q ready "$log.hook" 2>/dev/null; do sleep 0.2; done
    fi
    if [ "$side" = program ]; then
      wine "$build/tests/device/side_by_side_bench.exe" profile
      # As a user starts it: the installed program from its own folder; the receiver is the
      # simulated one, since there is no mouse.
      (cd "$build/dist" && NORVI_SIMULATED_RECEIVER=1 wine "$build/dist/NorviDriver.exe") \
        >/dev/null 2>&1 &
      program_pid=$!
    fi
    wine "$build/tests/device/side_by_side_bench.exe" "$probe" "$per_round" >"$log.win" 2>/dev/null &
    pid=$!
    until grep -q ready "$log.win" 2>/dev/null; do sleep 0.2; done
    # X sends button events only to the window under the pointer: the probe's.
    xdotool mousemove 250 250
    sleep 1  # the probe window settles in front
    "$build/xclicker" "$per_round" 9 40 >"$log.x"
    wait "$pid"
    [ -n "$program_pid" ] && wait "$program_pid"
  done
done

python3 - "$out" "$rounds" <<'PY'
import sys
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
        return [0], *(float("nan"),) * 3
    return lat, lat[len(lat) // 2], lat[len(lat) * 9 // 10], lat[len(lat) * 99 // 100]
bare, b50, b90, b99 = side("bare")
print("X press to first Ctrl key-down (us); ratio to the bare hook program of the same run")
print(f"  {'bare hook':22} n={len(bare)}  p50 {b50:7.0f}  p90 {b90:7.0f}  p99 {b99:7.0f}")
for name, label in (("program", "NorviDriver"), ("inprobe", "hook in the probe")):
    lat, p50, p90, p99 = side(name)
    print(f"  {label:22} n={len(lat)}  p50 {p50:7.0f}  p90 {p90:7.0f}  p99 {p99:7.0f}"
          f"  ratio p50 {p50 / b50:.2f}x  p90 {p90 / b90:.2f}x  p99 {p99 / b99:.2f}x")
PY
fi

[ "$only" = latency ] && exit 0
# The Windows path of a file here: Wine maps the Unix root to Z:.
windows_path() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }
export NORVI_SIMULATED_RECEIVER=1
for round in $(seq 1 "$starts"); do
  seconds=0
  [ "$round" = 1 ] && seconds=$idle
  for side in bare program ${NORVI_BENCH_BEFORE:+before}; do
    exe=$build/dist/NorviDriver.exe title="Zarqo Norvi Mouse Driver"
    [ "$side" = bare ] && exe=$build/tests/app/bare_window.exe title="Norvi bare window"
    [ "$side" = before ] && exe=$NORVI_BENCH_BEFORE/NorviDriver.exe
    log="$out/start-$side.$round"
    wine "$build/tests/app/startup_bench.exe" start "$(windows_path "$exe")" "$title" "$seconds" \
      >"$log" 2>/dev/null &
    pid=$!
    # Reads the process (found by its command line, the Windows path Wine gives it) at the
    # bench program's lines: memory once settled and once hidden, CPU time across the idle.
    python3 - "$log" "$(windows_path "$exe")" >"$log.proc" <<'PY'
import os, sys, time
log, exe = sys.argv[1], sys.argv[2]
def process():
    for p in os.listdir("/proc"):
        try:
            if p.isdigit() and open(f"/proc/{p}/cmdline", "rb").read().split(b"\0")[0].decode(
                    errors="replace").strip() == exe:
                return p
        except OSError:
            pass
def rss(p):
    for line in open(f"/proc/{p}/status"):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
def parts(p):
    # Resident memory by kind of mapping: the Unix heap (where Wine keeps GDI objects, bitmap
    # bits among them), anonymous memory (Windows heaps and stacks), libraries, the rest.
    kinds, kind = {"heap": 0, "anon": 0, "dll": 0, "so": 0, "other": 0}, "other"
    for line in open(f"/proc/{p}/smaps"):
        f = line.split()
        if f and not f[0].endswith(":"):
            name = f[5] if len(f) > 5 else ""
            kind = ("heap" if name == "[heap]" else "anon" if not name else
                    "dll" if name.lower().endswith((".dll", ".drv", ".exe")) else
                    "so" if ".so" in name else "other")
        elif f and f[0] == "Rss:":
            kinds[kind] += int(f[1])
    return " ".join(f"{k}={v}" for k, v in kinds.items())
def ticks(p):
    fields = open(f"/proc/{p}/stat").read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])
seen, p, deadline = set(), None, time.time() + 600
while "ended" not in seen and time.time() < deadline:
    lines = open(log).read().split("\n")
    for line in lines[:-1]:
        word = line.split(" ")[0]
        if word in seen:
            continue
        seen.add(word)
        if word == "error":
            print(line)
            sys.exit(0)
        if word == "settled":
            p = process()
            print("rss", rss(p))
            print("parts", parts(p))
            print("ticks0", ticks(p), time.time())
        elif word == "idle" and p:
            print("ticks1", ticks(p), time.time())
        elif word == "hidden" and p:
            print("rss_hidden", rss(p))
            print("parts_hidden", parts(p))
    time.sleep(0.05)
PY
    wait "$pid"
  done
done
wine "$build/tests/app/startup_bench.exe" languages "$(windows_path "$build/dist")" 200 \
  >"$out/languages" 2>/dev/null

python3 - "$out" "$starts" "$(getconf CLK_TCK)" <<'PY'
import os, sys, statistics
out, starts, hz = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def side(name):
    r = {"visible": [], "answering": [], "rss": [], "rss_hidden": [], "cpu": None, "parts": {},
         "parts_hidden": {}}
    for n in range(1, starts + 1):
        for line in open(f"{out}/start-{name}.{n}").read().split("\n") + \
                open(f"{out}/start-{name}.{n}.proc").read().split("\n"):
            w = line.split()
            if not w:
                continue
            if w[0] == "error":
                print(f"{name} round {n}: {line}")
            elif w[0] in ("visible", "answering", "rss", "rss_hidden"):
                r[w[0]].append(float(w[1]))
            elif w[0] in ("parts", "parts_hidden"):
                for kv in w[1:]:
                    k, v = kv.split("=")
                    r[w[0]].setdefault(k, []).append(int(v))
            elif w[0] in ("ticks0", "ticks1"):
                r[w[0]] = (int(w[1]), float(w[2]))
        if "ticks0" in r and "ticks1" in r and r["cpu"] is None:
            (t0, s0), (t1, s1) = r["ticks0"], r["ticks1"]
            r["cpu"] = 100.0 * (t1 - t0) / hz / (s1 - s0)
            r["idle_s"] = s1 - s0
    return r
bare, prog = side("bare"), side("program")
before = side("before") if os.path.exists(f"{out}/start-before.1") else None
def med(v):
    return statistics.median(v) if v else float("nan")
print(f"Start-up, memory and idle CPU over {starts} starts per side (medians)")
print(f"  {'':28} {'bare window':>12} {'program':>12} {'ratio':>7}" +
      (f" {'before':>12} {'ratio':>7}" if before else ""))
for key, label, unit in (("visible", "start to visible window", "ms"),
                         ("answering", "start to first answer", "ms"),
                         ("rss", "resident, shown", "MB"),
                         ("rss_hidden", "resident, hidden", "MB")):
    scale = 1024 if unit == "MB" else 1
    b, p = med(bare[key]) / scale, med(prog[key]) / scale
    line = f"  {label + ' (' + unit + ')':28} {b:12.1f} {p:12.1f} {p / b:6.2f}x"
    if before:
        e = med(before[key]) / scale
        line += f" {e:12.1f} {e / b:6.2f}x"
    print(line)
for key, label in (("parts", "shown"), ("parts_hidden", "hidden")):
    if bare[key] and prog[key]:
        print(f"  resident by kind, {label} (MB, bare / program):", ", ".join(
            f"{k} {med(bare[key][k]) / 1024:.1f} / {med(prog[key][k]) / 1024:.1f}"
            for k in bare[key]))
for name, r in (("bare window", bare), ("program", prog), ("before", before)):
    if r and r["cpu"] is not None:
        print(f"  idle CPU, {name}: {r['cpu']:.2f} % over {r['idle_s']:.0f} s")
print("  all starts (ms to visible): bare", " ".join(f"{v:.0f}" for v in bare["visible"]),
      "| program", " ".join(f"{v:.0f}" for v in prog["visible"]),
      *(["| before", " ".join(f"{v:.0f}" for v in before["visible"])] if before else []))
for line in open(f"{out}/languages"):
    w = line.split()
    if w and w[0] == "languages":
        print(f"Twelve language files under Wine, {w[1]} of 200 loads: {float(w[2]):.2f} ms")
    elif w:
        print(line.strip())
PY
