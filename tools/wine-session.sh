#!/bin/bash
# Runs a command (the Windows tests) inside one Wine session of a prefix. The server and Wine's
# own background programs start first, with their output going nowhere, and stay until the
# command is done: each test program joins the running session instead of starting and ending
# one, and no background program holds a test's output open after the test has ended.
#   wine-session.sh PREFIX ARCH COMMAND [ARGS...]
set -u
prefix=$1 arch=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
wineserver=wineserver
[ "$arch" = win64 ] && wineserver=/usr/lib/wine/wineserver64

run() { "$here/wine-run.sh" --prefix "$prefix" --arch "$arch" "$@" </dev/null >/dev/null 2>&1; }
# The prefix is made on first use, in a session of its own that ends first; then a server that
# stays, with the services and the desktop.
run wineboot
WINEPREFIX=$prefix "$wineserver" -w
WINEPREFIX=$prefix "$wineserver" -p </dev/null >/dev/null 2>&1
run wineboot
run explorer /desktop &
"$@"
status=$?
WINEPREFIX=$prefix "$wineserver" -k
exit $status
