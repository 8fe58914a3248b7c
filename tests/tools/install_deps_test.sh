#!/bin/bash
# The set-up script against stand-in apt-get, dpkg and dpkg-query on PATH: a package index
# that fails (for a while or always), a 32-bit Wine that cannot be installed, and both
# working. Each case starts from a machine with nothing installed.
set -u
script=$(cd "$(dirname "$0")/../.." && pwd)/tools/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The stand-ins keep their state in $FAKE: installed packages one a line, a log of calls.
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/bash
pkg=${!#}
grep -qx -- "$pkg" "$FAKE/installed" 2>/dev/null && printf 'install ok installed'
exit 0
STUB
cat >"$work/bin/dpkg" <<'STUB'
#!/bin/bash
echo "dpkg $*" >>"$FAKE/log"
[ "$1" = --print-foreign-architectures ] && cat "$FAKE/arches" 2>/dev/null
[ "$1" = --add-architecture ] && echo "$2" >>"$FAKE/arches"
exit 0
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >>"$FAKE/log"
if [ "$1" = update ]; then
  n=$(($(cat "$FAKE/update-fails" 2>/dev/null || echo 0)))
  if [ "$n" -gt 0 ]; then
    echo $((n - 1)) >"$FAKE/update-fails"
    echo "E: File has unexpected size. Mirror sync in progress?" >&2
    exit 100
  fi
  exit 0
fi
shift
pkgs=()
for a in "$@"; do [[ $a == -* ]] || pkgs+=("$a"); done
for p in "${pkgs[@]}"; do
  if grep -qx -- "$p" "$FAKE/broken" 2>/dev/null; then
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100
  fi
done
printf '%s\n' "${pkgs[@]}" >>"$FAKE/installed"
STUB
chmod +x "$work/bin/"*

# run CASE: runs the script once in the case's state; its output in $FAKE/out, status in $status.
run() {
  export FAKE=$work/$1
  mkdir -p "$FAKE"
  PATH=$work/bin:$PATH NORVI_APT_UPDATE_PAUSE=0 NORVI_DEPS_MARKER=$FAKE/marker \
    bash "$script" >"$FAKE/out" 2>&1
  status=$?
}
check() {  # check DESCRIPTION COMMAND...
  if ! "${@:2}"; then
    echo "FAIL ($case): $1"
    sed 's/^/    /' "$FAKE/out" "$FAKE/log" 2>/dev/null
    failures=$((failures + 1))
  fi
}
installed() { grep -qx -- "$1" "$FAKE/installed"; }
calls() { grep -c "^apt-get $1" "$FAKE/log" 2>/dev/null; }
said() { grep -q -- "$1" "$FAKE/out"; }

case=index-never-whole
mkdir -p "$work/$case" && echo 99 >"$work/$case/update-fails"
run $case
check "exits 0" test $status -eq 0
check "tries the index four times" test "$(calls update)" -eq 4
check "says it installs from what was fetched" said "could not be fetched whole"
check "installs Wine, mingw and the rest" installed wine64
check "and 32-bit Wine" installed wine32:i386

case=index-whole-on-third-try
mkdir -p "$work/$case" && echo 2 >"$work/$case/update-fails"
run $case
check "exits 0" test $status -eq 0
check "stops trying once the index is whole" test "$(calls update)" -eq 3
check "says nothing of a partial index" bash -c "! grep -q 'fetched whole' '$FAKE/out'"

case=no-32-bit-wine
mkdir -p "$work/$case" && echo wine32:i386 >"$work/$case/broken"
run $case
check "exits 0" test $status -eq 0
check "installs everything else" installed xdotool
check "says the 64-bit build is used, and why" said "32-bit Wine could not be installed"
: >"$FAKE/log"
run $case
check "a second run within the day does not try 32-bit Wine again" test "$(calls install)" -eq 0

case=all-works
mkdir -p "$work/$case"
run $case
check "exits 0" test $status -eq 0
check "adds the i386 architecture" grep -q "dpkg --add-architecture i386" "$FAKE/log"
check "installs 32-bit Wine" installed wine32:i386
: >"$FAKE/log"
run $case
check "a second run installs nothing" test ! -s "$FAKE/log"

case=needed-package-missing
mkdir -p "$work/$case" && echo xdotool >"$work/$case/broken"
run $case
check "fails" test $status -ne 0
check "names what is missing" said "Could not install: .*xdotool"

[ $failures -eq 0 ] && echo "install-deps: all cases passed"
exit $((failures > 0))
