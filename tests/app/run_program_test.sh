#!/usr/bin/env bash
# Runs the real program in a temporary working folder with a registry of its
# own: the title shows a rate, the picture shows the flow, a terminated
# program saves its changed parameters and the next start restores them,
# whatever else lies in the folder under the data file's other names; a
# data file with values out of every range starts the heaviest simulation
# the editor allows, which still draws, ends promptly and saves the values
# it used.
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

# Ends the program with SIGTERM; it must be gone within the given number of
# milliseconds (default 10000).
stop_program() {
  local limit=${1:-10000} start rc=0
  start=$(date +%s%N)
  kill -TERM "$pid"
  while kill -0 "$pid" 2>/dev/null; do
    if (( ($(date +%s%N) - start) / 1000000 > limit )); then
      echo "still running ${limit} ms after SIGTERM"; return 1
    fi
    sleep 0.05
  done
  wait "$pid" || rc=$?
  pid=
  echo "ended $(( ($(date +%s%N) - start) / 1000000 )) ms after SIGTERM"
  [ "$rc" -eq 0 ] || { echo "exit code $rc after SIGTERM"; return 1; }
}

# The main window once its title shows a rate: $line, and its position and
# height on the screen in $wx, $wy and $wh.
find_window() {
  line=$(xwininfo -root -tree | grep -E '"Eddyra -- [0-9.e+]+ ips"' | head -n1)
  echo "title: $line"
  local geometry
  geometry=$(echo "$line" | grep -Eo '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1)
  wx=$(echo "$geometry" | sed -E 's/.*\+([0-9]+)\+([0-9]+)/\1/')
  wy=$(echo "$geometry" | sed -E 's/.*\+([0-9]+)\+([0-9]+)/\2/')
  wh=$(echo "$geometry" | sed -E 's/[0-9]+x([0-9]+).*/\1/')
}

# Mean brightness (0 to 1) of a crop of the screen: WIDTHxHEIGHT+X+Y.
screen_mean() {
  import -window root "$tmp/screen.png"
  convert "$tmp/screen.png" -crop "$1" -format '%[fx:mean]' info:
}

"$eddyra" &
pid=$!
wait_for_rate
find_window

# The picture: 624 pixels wide (1024 minus the 400-pixel panel), grid
# 512 x 128, so 156 rows high at the bottom of the view.  Its colour must not
# be black; the band above it must be.
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

# A data file written by hand or by another tool, every value out of range:
# an unknown solver index, a grid of 5000 x 99999, an infinite inflow, a
# negative viscosity, a NaN brightness, two billion steps per frame, an
# obstacle too tall and an unknown shape.
record() { printf '%s\0\004\0\0\0' "$1"; printf "$2"; }
{
  record 'init|simulationType' '\007\0\0\0'
  record 'init|gridWidth' '\210\023\0\0'
  record 'init|gridHeight' '\237\206\001\0'
  record 'init|flowVelX' '\0\0\200\177'
  record 'runtime|invViscosity' '\0\0\240\300'
  record 'view|brightness' '\0\0\300\177'
  record 'view|updateRate' '\0\224\065\167'
  record 'obstacle|height' '\350\003\0\0'
  record 'obstacle|shape' '\143\0\0\0'
} > "$data"
"$eddyra" &
pid=$!
wait_for_rate
find_window
# The GPU solver on a 1024 x 1024 grid at 40 steps a frame fills the whole
# 624-pixel-wide view, drawn at the fastest inflow.
drawn=0
for _ in $(seq 1 30); do
  picture=$(screen_mean "600x300+$((wx + 10))+$((wy + wh - 320))")
  echo "picture brightness $picture"
  if awk -v p="$picture" 'BEGIN { exit !(p > 0.2) }'; then drawn=1; break; fi
  sleep 0.5
done
[ -n "${EDDYRA_SCREENSHOT:-}" ] && cp "$tmp/screen.png" "${EDDYRA_SCREENSHOT%.png}-clamped.png"
[ "$drawn" -eq 1 ] || { echo "the picture of the clamped parameters is not drawn"; exit 1; }
# A frame of this size takes seconds on a software renderer; the close
# request is handled between its passes all the same.
stop_program 3000
# The values in use, in the list's order; those back at their default
# (solver, brightness, shape) are not written.
{
  record 'obstacle|height' '\144\0\0\0'
  record 'view|updateRate' '\050\0\0\0'
  record 'runtime|invViscosity' '\0\0\040\101'
  record 'init|flowVelX' '\315\314\114\076'
  record 'init|gridHeight' '\0\004\0\0'
  record 'init|gridWidth' '\0\004\0\0'
} > "$tmp/expected"
cmp "$data" "$tmp/expected" || { echo "saved values are not the clamped ones:"; od -c "$data"; exit 1; }
echo "ok"
