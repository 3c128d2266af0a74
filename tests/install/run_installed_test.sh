#!/usr/bin/env bash
# Installs the build staged under a folder other than its prefix, registers
# the installed component in a registry of the test's own and runs the
# installed program from an empty folder: without a window it must find its
# fragment programs and the component and draw the flow; with one it must
# start, run and end cleanly on SIGTERM.
# Usage: run_installed_test.sh <build folder> <bin dir> <module dir>
set -euo pipefail
build=$1 bindir=$2 moduledir=$3
[ -n "${DISPLAY:-}" ] || { echo "needs an X display (the test script runs ctest under xvfb-run)"; exit 1; }

tmp=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
export COMREGISTRY_DIR=$tmp/registry

DESTDIR=$tmp/stage cmake --install "$build" --prefix /opt/eddyra >"$tmp/install.log" ||
  fail "install: $(cat "$tmp/install.log")"
[ ! -e "$COMREGISTRY_DIR" ] || fail "a staged install registered its servers"
root=$tmp/stage/opt/eddyra
"$root/$bindir/comreg" "$root/$moduledir/libQuillet.so"

mkdir "$tmp/work"
cd "$tmp/work"
"$root/$bindir/Eddyra" --headless --set 'init|simulationType=GPU' --steps 20 --png flow.png 2>err.txt ||
  fail "the headless run ended with $?: $(cat err.txt)"
[ -s flow.png ] || fail "no picture written"

"$root/$bindir/Eddyra" &
pid=$!
for _ in $(seq 1 200); do
  xwininfo -root -tree | grep -Eq '"Eddyra -- [0-9.e+]+ ips"' && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended early"
  sleep 0.2
done
xwininfo -root -tree | grep -Eq '"Eddyra -- [0-9.e+]+ ips"' || fail "no iteration rate in the title after 40 s"
kill -TERM "$pid"
rc=0
timeout 10 tail --pid="$pid" -f /dev/null || fail "still running 10 s after SIGTERM"
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc after SIGTERM"
echo "the installed program ran from an empty folder and ended cleanly"
