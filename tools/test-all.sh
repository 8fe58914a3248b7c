#!/bin/bash
# Installs what is missing, builds the native, sanitizer and win32 configurations and runs
# every test: native core tests, the same under ASan + UBSan with bounded fuzz runs, and the
# Windows test programs under Wine on a virtual display. A stage fails when CTest says so.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${NORVI_BUILD_DIR:-$root/build}
fuzz_seconds=${NORVI_FUZZ_SECONDS:-10}
jobs=$(nproc)

"$root/tools/install-deps.sh" || exit 1

passed=0
failed=0
stage_failed=()

# Runs ctest in a build tree, after a runner command if given and with the ctest options in
# ctest_options; its exit status decides the stage, its JUnit report the counts.
ctest_options=()
run_ctest() {
  local name=$1 dir=$2
  shift 2
  echo "=== $name tests ==="
  local report="$dir/ctest-junit-${name// /-}.xml"
  rm -f "$report"
  if ! (cd "$dir" && "$@" ctest --output-on-failure -j"$jobs" --output-junit "$report" \
    "${ctest_options[@]}"); then
    stage_failed+=("$name")
  fi
  local total=0 bad=0
  if [ -f "$report" ]; then
    # The suite's attributes may stand on lines of their own.
    total=$(grep -o -m1 '[[:space:]]tests="[0-9]*"' "$report" | grep -o '[0-9][0-9]*')
    bad=$(grep -o -m1 '[[:space:]]failures="[0-9]*"' "$report" | grep -o '[0-9][0-9]*')
  fi
  # A stage that failed without a counted failure (no tests, a crash of ctest) counts once.
  if [[ " ${stage_failed[*]} " == *" $name "* && ${bad:-0} -eq 0 ]]; then bad=1; fi
  passed=$((passed + ${total:-0} - ${bad:-0}))
  failed=$((failed + ${bad:-0}))
}

configure_and_build() {
  local name=$1 dir=$2
  shift 2
  echo "=== $name build ==="
  mkdir -p "$dir"
  if ! cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"
    return 1
  fi
  cmake --build "$dir" -j"$jobs"
}

mkdir -p "$build"
start=$(date +%s)

if configure_and_build native "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc; then
  run_ctest native "$build/native"
else
  stage_failed+=("native build"); failed=$((failed + 1))
fi

if configure_and_build sanitize "$build/sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DNORVI_SANITIZE=ON -DNORVI_FUZZ=ON -DNORVI_FUZZ_SECONDS="$fuzz_seconds" \
  -DNORVI_BENCHMARKS=OFF; then
  run_ctest sanitize "$build/sanitize"
else
  stage_failed+=("sanitize build"); failed=$((failed + 1))
fi

# The shipped 32-bit build always builds. Its tests need a machine that can execute 32-bit
# programs (32-bit Wine); where it cannot, the same tests run on the 64-bit build instead.
win_runner=()
[ -n "${DISPLAY:-}" ] || win_runner=(xvfb-run -a -s "-screen 0 1280x1024x24")

# windows_stage NAME TOOLCHAIN TESTS(ON|OFF): builds one Windows tree and runs its tests if any.
windows_stage() {
  local name=$1 toolchain=$2 tests=$3
  if ! configure_and_build "$name" "$build/$name" -DCMAKE_BUILD_TYPE=Release \
    -DNORVI_TESTS="$tests" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake"; then
    stage_failed+=("$name build"); failed=$((failed + 1))
  elif [ "$tests" = ON ]; then
    # One Wine session for each run (the stage's name is the prefix's architecture).
    local session=("$root/tools/wine-session.sh" "$build/$name/wineprefix" "$name")
    ctest_options=(-LE e2e)
    run_ctest "$name" "$build/$name" "${win_runner[@]}" "${session[@]}"
    # Real input between programs under Wine and Xvfb is now and then lost (half a click, a
    # click after a swallowed button): an end-to-end case gets three attempts, and a real fault
    # fails all three.
    ctest_options=(-L e2e --repeat until-pass:3)
    run_ctest "$name end-to-end" "$build/$name" "${win_runner[@]}" "${session[@]}"
    ctest_options=()
  fi
}

source "$root/tools/windows-tree.sh"
if [ "$windows_tree" = win32 ]; then
  windows_stage win32 mingw-i686 ON
else
  windows_stage win32 mingw-i686 OFF
  windows_stage win64 mingw-x86_64 ON
fi

echo
echo "Test command took $(( $(date +%s) - start )) s."
[ ${#stage_failed[@]} -eq 0 ] || echo "Failed: ${stage_failed[*]}"
echo "$passed passed, $failed failed"
[ ${#stage_failed[@]} -eq 0 ]
