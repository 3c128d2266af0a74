#!/usr/bin/env bash
# Sets up a fresh machine, builds, and runs every test.  Window tests run on
# a private Xvfb display; GL tests use Mesa's surfaceless EGL and need none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 "$@"
