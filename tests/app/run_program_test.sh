#!/usr/bin/env bash
# Runs the real program in a temporary working folder with a registry of its
# own: the title shows a rate, the picture shows the flow, a terminated
# program saves its changed parameters and the next start restores them,
# whatever else lies in the folder under the data file's other names.
# Usage: run_program_test.sh <Eddyra> <comreg> <libQuillet.so> <cg folder>
set -euo pipefail
eddyra=$1 comreg=$2 quillet=$3 cg=$4
[ -n "${DISPLAY:-}" ] || { echo "needs an X display (the test script runs ctest under xvfb-run)"; exit 1; }

tmp=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
export COMREGISTRY_DIR=$tmp/registry
"$comreg" "$quillet"
mkdir -p "$tmp/work/config"
ln -s "$cg" "$tmp/work/cg"
cd "$tmp/work"

data='config/{551F6B37-A5BC-4746-8E1F-C66F877F5022}'
# A saved grid height of 128 under a name in capitals.
printf 'INIT|GRIDHEIGHT\0\004\0\0\0\200\0\0\0' > "$data"
# Another tool's file for the same list, its class id in lower case: the
# list's own file wins, and the save removes this one.
alias='config/{551f6b37-a5bc-4746-8e1f-c66f877f5022}'
printf 'init|gridHeight\0\004\0\0\0\100\0\0\0' > "$alias"

wait_for_rate() {
  for _ in $(seq 1 200); do
    if xwininfo -root -tree | grep -Eq '"Eddyra -- [0-9.e+]+ ips"'; then return 0; fi
    kill -0 "$pid" 2>/dev/null || { echo "the program ended early"; return 1; }
    sleep 0.2
  done
  echo "no iteration rate in the title after 40 s"; return 1
}

stop_program() {
  kill -TERM "$pid"
  local rc=0
  wait "$pid" || rc=$?
  pid=
  [ "$rc" -eq 0 ] || { echo "exit code $rc after SIGTERM"; return 1; }
}

"$eddyra" &
pid=$!
wait_for_rate
line=$(xwininfo -root -tree | grep -E '"Eddyra -- [0-9.e+]+ ips"' | head -n1)
echo "title: $line"

# The picture: 624 pixels wide (1024 minus the 400-pixel panel), grid
# 512 x 128, so 156 rows high at the bottom of the view.  Its colour must not
# be black; the band above it must be.
geometry=$(echo "$line" | grep -Eo '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1)
wx=$(echo "$geometry" | sed -E 's/.*\+([0-9]+)\+([0-9]+)/\1/')
wy=$(echo "$geometry" | sed -E 's/.*\+([0-9]+)\+([0-9]+)/\2/')
wh=$(echo "$geometry" | sed -E 's/[0-9]+x([0-9]+).*/\1/')
shot=$tmp/screen.png
bottom=$((wy + wh))
# The first frames may still show the window before its final layout: look a
# few times before calling the picture missing.
drawn=0
for _ in $(seq 1 10); do
  import -window root "$shot"
  picture=$(convert "$shot" -crop "600x100+$((wx + 10))+$((bottom - 120))" -format '%[fx:mean]' info:)
  above=$(convert "$shot" -crop "600x100+$((wx + 10))+$((bottom - 400))" -format '%[fx:mean]' info:)
  echo "picture brightness $picture, above it $above"
  if awk -v p="$picture" -v a="$above" 'BEGIN { exit !(p > 0.2 && a < 0.02) }'; then drawn=1; break; fi
  sleep 0.5
done
[ -n "${EDDYRA_SCREENSHOT:-}" ] && cp "$shot" "$EDDYRA_SCREENSHOT"
[ "$drawn" -eq 1 ] || { echo "the picture is not drawn"; exit 1; }

stop_program
grep -aq 'init|gridHeight' "$data" || { echo "the restored grid height was not saved again"; exit 1; }
if grep -aq 'INIT|GRIDHEIGHT' "$data"; then echo "the saved name was not the parameter's own"; exit 1; fi
# Only the changed parameter is written: one record of 15 + 1 + 4 + 4 bytes.
size=$(stat -c %s "$data")
[ "$size" -eq 24 ] || { echo "config data file has $size bytes, expected 24"; exit 1; }
[ "$(tail -c 4 "$data" | od -An -tu4 | tr -d ' ')" -eq 128 ] || { echo "the saved grid height is not 128"; exit 1; }
[ ! -e "$alias" ] || { echo "the other file of the list is still there"; exit 1; }

# A second start restores it again and keeps the folder as it was, with
# FIFOs in the folder that nobody writes to: the program starts all the same.
mkfifo config/uselist.txt "$alias"
"$eddyra" &
pid=$!
wait_for_rate
stop_program
[ "$(stat -c %s "$data")" -eq 24 ] || { echo "the second run changed the saved values"; exit 1; }
[ -p config/uselist.txt ] && [ -p "$alias" ] || { echo "the FIFOs were not left alone"; exit 1; }
echo "ok"
