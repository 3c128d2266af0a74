#!/usr/bin/env bash
# Runs the real program without a window, with a registry of its own: the
# command line's errors and exit codes, "config" applied and never written,
# outputs at the end and every K steps that NumPy and a VTK reader read back
# equal to the raw dump, a saved state that continues bit for bit on both
# solvers, damaged inputs refused, and a flow that blows up reported (and
# kept finite by the stabilised collision).
# Usage: run_headless_test.sh <Eddyra> <comreg> <libQuillet.so> <cg folder> <vti_to_dump>
set -euo pipefail
eddyra=$1 comreg=$2 quillet=$3 cg=$4 vti_to_dump=$5
# Debian's interpreter, where python3-numpy installs; a python3 of another
# installation earlier on the PATH would not have it.
python=/usr/bin/python3
"$python" -c 'import numpy' 2>/dev/null || { echo "needs python3-numpy (scripts/setup.sh installs it)"; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export COMREGISTRY_DIR=$tmp/registry
"$comreg" "$quillet" >/dev/null
mkdir -p "$tmp/work/config"
ln -s "$cg" "$tmp/work/cg"
cd "$tmp/work"

fail() { echo "FAIL: $*"; exit 1; }

# expect CODE TEXT ARGS...: the program ends with CODE and one line on
# standard error that holds TEXT.
expect() {
  local code=$1 text=$2 rc=0
  shift 2
  "$eddyra" "$@" >out.txt 2>err.txt || rc=$?
  [ "$rc" -eq "$code" ] || fail "$* ended with $rc, expected $code: $(cat err.txt)"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "$*: expected one line on standard error, got: $(cat err.txt)"
  grep -qF -- "$text" err.txt || fail "$*: \"$text\" is not in: $(cat err.txt)"
}

run() { "$eddyra" --headless "$@" 2>err.txt || fail "$* ended with $?: $(cat err.txt)"; }

# --help lists every option.
"$eddyra" --help >help.txt || fail "--help ended with $?"
for option in --headless --set --preset --obstacles --state --steps --every --dump --vtk --npy --png --png-scale \
              --save-state; do
  grep -qF -- "$option" help.txt || fail "--help does not list $option"
done

# A bad command line: exit code 2 and one line that says why.
expect 2 'unknown parameter "init|gridWdth"' --headless --set 'init|gridWdth=100'
expect 2 'init|gridWidth=2000 is out of range 64 to 1024' --headless --set 'init|gridWidth=2000'
expect 2 'init|simulationType takes GPU or CPU' --headless --set 'init|simulationType=TPU'
expect 2 "bogus" --headless --bogus
expect 2 "--steps needs --headless" --steps 100
expect 2 "--every needs an output" --headless --every 10
# An output may not replace another one, or an input of the run.
expect 2 "--dump and --npy name the same file" --headless --dump f.dat --npy ./f.dat
expect 2 'would replace "s.state", the file of --state' --headless --state s.state --dump s.state

# "config" applies: a saved grid height of 96.  The run never writes it,
# --set or not.
printf 'init|gridHeight\0\004\0\0\0\140\0\0\0' >'config/{551F6B37-A5BC-4746-8E1F-C66F877F5022}'
cp -r config config.before
# A FIFO that nobody writes to is refused, not waited on.
mkfifo fifo.txt
expect 1 "not a regular file" --headless --set 'init|simulationType=CPU' --obstacles fifo.txt
printf '# a cylinder\nellipse 14 40 10 12\n' >cylinder.txt
run --set 'init|simulationType=CPU' --set 'INIT|GRIDWIDTH=64' --set 'runtime|invViscosity=80' \
  --obstacles cylinder.txt --steps 100 --every 50 \
  --dump 'd_{step}.dat' --npy 'a_{step}.npy' --vtk 'v_{step}.vti' --save-state 's_{step}.state'
diff -r config config.before >/dev/null || fail "the run changed config"
for s in 050 100; do
  [ "$(stat -c %s d_$s.dat)" -eq $((64 * 96 * 12)) ] || fail "d_$s.dat is not a 64 x 96 dump"
done
cmp -s d_050.dat d_100.dat && fail "the flow did not change between step 50 and 100"

# NumPy and an independent VTK reader read the fields back equal to the dump.
"$python" - <<'PY' || fail "the .npy file does not read back as the dump"
import numpy
a = numpy.load("a_100.npy")
d = numpy.fromfile("d_100.dat", dtype="<f4")
assert a.dtype == numpy.float32 and a.shape == (96, 64, 3), (a.dtype, a.shape)
assert (a.reshape(-1) == d).all()
PY
"$vti_to_dump" v_100.vti v.dat || fail "the .vti file cannot be read"
cmp v.dat d_100.dat || fail "the .vti file does not hold the dump's values"

# A saved state continues bit for bit: 50 + 50 steps equal 100 (CPU), and
# the same on the GPU solver through the drawing context without a window.
run --state s_050.state --steps 50 --dump c.dat
cmp c.dat d_100.dat || fail "the CPU run continued from its state differs"
run --set 'init|gridWidth=64' --set 'init|gridHeight=64' --obstacles cylinder.txt --steps 100 --every 50 \
  --dump 'gd_{step}.dat' --save-state 'g_{step}.state' --png 'p_{step}.png' --png-scale 2
run --state g_050.state --steps 50 --dump gc.dat
cmp gc.dat gd_100.dat || fail "the GPU run continued from its state differs"
[ "$(identify -format '%wx%h' p_100.png)" = 128x128 ] || fail "the picture is not 2 x 64 pixels a side"
# The picture shows the view asked for: the vorticity view draws the
# cylinder (centred on cell 19, 46) grey, the velocity view does not.
run --state g_050.state --steps 50 --set 'view|mode=Vorticity' --png vorticity.png
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1; }
pixel vorticity.png 19 17 | grep -qi '#808080' || fail "the vorticity picture does not show the cylinder grey"
pixel p_100.png 38 34 | grep -qi '#808080' && fail "the velocity picture shows the cylinder grey"

# Damaged, truncated or mismatched states, and a bad obstacle line, are
# refused with the reason.
cp s_050.state damaged.state
printf '\377' | dd of=damaged.state bs=1 seek=5000 conv=notrunc status=none
expect 1 "damaged" --headless --state damaged.state --steps 10
head -c 3000 s_050.state >truncated.state
expect 1 "truncated" --headless --state truncated.state --steps 10
expect 1 "holds a 64 x 96 grid" --headless --state s_050.state --set 'init|gridWidth=128'
# A state whose step count is near the limit (checksum made good) cannot
# be continued past it: its own saved states could never be read again.
"$python" - <<'PY'
import struct, zlib
b = bytearray(open("s_050.state", "rb").read())
b[24:32] = struct.pack("<q", 10**15 - 5)
b[-4:] = struct.pack("<I", zlib.crc32(bytes(b[:-4])))
open("late.state", "wb").write(b)
PY
expect 1 "would go beyond" --headless --state late.state --steps 10 --save-state late_next.state
printf 'rect 1 2 3 4\nrect 1 2 x 4\n' >bad.txt
expect 1 "line 2" --headless --set 'init|simulationType=CPU' --obstacles bad.txt
expect 1 "does not exist" --headless --set 'init|simulationType=CPU' --dump missing/d.dat
# Obstacles a saved state could not hold are refused before the first step.
for _ in $(seq 1000); do echo "rect 1 1 1 1"; done >many.txt
expect 1 "1002 obstacles, more than the 1000" --headless --set 'init|simulationType=CPU' --preset poiseuille \
  --obstacles many.txt --steps 2 --every 1 --dump many_{step}.dat --save-state many_{step}.state
[ -e many_1.dat ] && fail "a run whose states could not hold its obstacles ran before it failed"
expect 1 "names a folder" --headless --set 'init|simulationType=CPU' --dump config --steps 100000
expect 1 "not a regular file" --headless --set 'init|simulationType=CPU' --dump fifo.txt
[ -p fifo.txt ] || fail "a dump replaced the FIFO it was asked to write"
# A file size limit cuts the dump short: the run says why, the previous
# dump stays whole and no temporary file is left.
cp d_100.dat limited.dat
(ulimit -f 100; expect 1 'cannot write "limited.dat": File too large' --headless --set 'init|simulationType=CPU' \
  --steps 1 --dump limited.dat)
cmp -s limited.dat d_100.dat || fail "the dump cut short by the file size limit changed the previous one"
ls limited.dat.tmp* >/dev/null 2>&1 && fail "the dump cut short left its temporary file"
# A folder named by the step cannot be checked before the run; its failure
# still ends the run with the reason.
expect 1 'cannot write "missing_05/d.dat"' --headless --set 'init|simulationType=CPU' --steps 10 --every 5 \
  --dump 'missing_{step}/d.dat'

# A signal stops the run between steps: one last line says so, the file
# being written lands whole and no temporary file is left.
"$eddyra" --headless --set 'init|simulationType=CPU' --set 'init|gridWidth=512' --set 'init|gridHeight=512' \
  --steps 1000000 --every 1 --save-state stopped.state 2>err.txt &
pid=$! rc=0
for _ in $(seq 100); do [ -e stopped.state ] && break; sleep 0.1; done
kill -TERM "$pid"
wait "$pid" || rc=$?
[ "$rc" -eq 1 ] || fail "a run stopped by SIGTERM ended with $rc: $(tail -n 1 err.txt)"
tail -n 1 err.txt | grep -qF "stopped by signal" || fail "no reason for the stop: $(tail -n 1 err.txt)"
ls stopped.state.tmp* >/dev/null 2>&1 && fail "the stopped run left a temporary file"
run --state stopped.state
# A flow that blows up ends the run with its reason.
printf 'rect 40 10 4 44\n' >plate.txt
expect 1 "blew up" --headless --set 'init|simulationType=CPU' --set 'init|gridWidth=128' --set 'init|gridHeight=64' \
  --set 'runtime|invViscosity=5000' --set 'init|flowVelX=0.2' --set 'init|flowVelY=0.2' --obstacles plate.txt \
  --steps 5000
# The stabilised collision keeps the same flow finite.
run --set 'init|simulationType=CPU' --set 'init|gridWidth=128' --set 'init|gridHeight=64' \
  --set 'runtime|invViscosity=5000' --set 'init|flowVelX=0.2' --set 'init|flowVelY=0.2' --obstacles plate.txt \
  --set 'runtime|collision=Smagorinsky' --steps 5000

# Progress: a run of a few seconds reports, at most one line a second.  The
# grid is large enough that the run lasts well over a second on a fast
# processor too.
start=$(date +%s%N)
run --set 'init|simulationType=CPU' --set 'init|gridWidth=1024' --set 'init|gridHeight=512' --steps 3000
seconds=$(( ($(date +%s%N) - start) / 1000000000 ))
lines=$(grep -c 'step [0-9]* of 3000' err.txt || true)
[ "$lines" -ge 1 ] || fail "no progress line in $seconds s: $(cat err.txt)"
[ "$lines" -le $((seconds + 1)) ] || fail "$lines progress lines in $seconds s"
# A reader of the progress lines that goes away does not end the run.
{ "$eddyra" --headless --set 'init|simulationType=CPU' --set 'init|gridWidth=1024' --set 'init|gridHeight=512' \
    --steps 3000 --dump unread.dat 2>&1; echo $? >rc.txt; } | head -c 1 >/dev/null
[ "$(cat rc.txt)" -eq 0 ] || fail "a run whose progress reader went away ended with $(cat rc.txt)"
[ "$(stat -c %s unread.dat)" -eq $((1024 * 512 * 12)) ] || fail "a run whose progress reader went away wrote no dump"
echo "ok"
