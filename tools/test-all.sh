#!/bin/bash
# Installs what is missing, builds the native, sanitizer and win32 configurations and runs
# every test: native core tests, the same under ASan + UBSan, bounded fuzz runs, and the
# Windows test programs under Wine on a virtual display.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${NORVI_BUILD_DIR:-$root/build}
fuzz_seconds=${NORVI_FUZZ_SECONDS:-20}
jobs=$(nproc)

"$root/tools/install-deps.sh" || exit 1

passed=0
failed=0
stage_failed=()

# Runs ctest in a build tree and adds its counts to the totals.
run_ctest() {
  local name=$1 dir=$2
  shift 2
  echo "=== $name tests ==="
  local log="$dir/ctest.log"
  (cd "$dir" && "$@" ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    echo "$name: ctest printed no summary"
    stage_failed+=("$name")
    failed=$((failed + 1))
    return
  fi
  local total bad
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" -eq 0 ] || stage_failed+=("$name")
}

configure_and_build() {
  local name=$1 dir=$2
  shift 2
  echo "=== $name build ==="
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
  -DNORVI_SANITIZE=ON -DNORVI_FUZZ=ON -DNORVI_BENCHMARKS=OFF; then
  run_ctest sanitize "$build/sanitize"
  mapfile -t fuzzers < <(grep -v '^$' "$build/sanitize/fuzzers.txt" 2>/dev/null)
  if [ ${#fuzzers[@]} -gt 0 ]; then
    per=$(( (fuzz_seconds + ${#fuzzers[@]} - 1) / ${#fuzzers[@]} ))
    for f in "${fuzzers[@]}"; do
      name=$(basename "$f")
      corpus="$build/sanitize/corpus/$name"
      mkdir -p "$corpus"
      seeds="$root/tests/fuzz/seeds/$name"
      echo "=== fuzz $name (${per}s) ==="
      if "$f" -max_total_time="$per" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$corpus.log" 2>&1; then
        grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$corpus.log" | tail -2
        passed=$((passed + 1))
      else
        tail -40 "$corpus.log"
        stage_failed+=("fuzz $name"); failed=$((failed + 1))
      fi
    done
  fi
else
  stage_failed+=("sanitize build"); failed=$((failed + 1))
fi

if configure_and_build win32 "$build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"; then
  if [ -z "${DISPLAY:-}" ]; then
    run_ctest win32 "$build/win32" xvfb-run -a -s "-screen 0 1280x1024x24"
  else
    run_ctest win32 "$build/win32"
  fi
else
  stage_failed+=("win32 build"); failed=$((failed + 1))
fi

echo
echo "Test command took $(( $(date +%s) - start )) s."
[ ${#stage_failed[@]} -eq 0 ] || echo "Failed: ${stage_failed[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
