#!/usr/bin/env bash
# Sets up a fresh machine, builds, registers the storage component and starts
# Eddyra.  The program reads its fragment programs from cg/ in its working
# folder and writes "config" and the velocity dumps there: that folder is
# build/run (or $BUILD_DIR/run), with cg linked to the sources.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run
build=${BUILD_DIR:-$root/build}

# Only the program, the component and the registration tool.  A fresh
# folder is configured without the tests and benchmarks, whose libraries the
# run set does not install; a folder the test script made keeps them.
options=()
[ -f "$build/CMakeCache.txt" ] || options=(-DEDDYRA_BUILD_TESTS=OFF -DEDDYRA_BUILD_BENCHMARKS=OFF)
BUILD_DIR=$build TARGETS="Eddyra Quillet comreg" "$root/scripts/build.sh" ${options[@]+"${options[@]}"}

# The program finds the component by class id in the registry, never by
# linking it.  The build registered it in the build folder's own registry;
# here it goes where the program is about to look: the registry named by
# COMREGISTRY_DIR, else the user's.
"$build/platform/regtool/comreg" "$build/storage/libQuillet.so"

work=$build/run
mkdir -p "$work"
ln -sfn "$root/cg" "$work/cg"
cd "$work"
echo "Eddyra runs in $work (saved parameters in config/, dumps as vel_WxH.dat)."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X display; stop it with Ctrl+C (the parameters are saved)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/app/Eddyra"
fi
exec "$build/app/Eddyra"
