#!/usr/bin/env bash
# Sets up a fresh machine, builds, and runs every test.  Window tests run on
# a private Xvfb display; GL tests use Mesa's surfaceless EGL and need none.
# Arguments go to ctest (e.g. -R '^storage\.').
#
#   EDDYRA_WERROR=ON          warnings fail the build (CI sets it)
#   EDDYRA_SANITIZE=address;undefined, or thread
#                             the whole tree instrumented, built into
#                             build-sanitize/ unless BUILD_DIR says otherwise
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" test
default=$root/build
[ -z "${EDDYRA_SANITIZE:-}" ] || default=$root/build-sanitize
build=${BUILD_DIR:-$default}

options=(-DEDDYRA_BUILD_TESTS=ON -DEDDYRA_BUILD_BENCHMARKS=ON)
[ -z "${EDDYRA_WERROR:-}" ] || options+=("-DEDDYRA_WERROR=$EDDYRA_WERROR")
[ -z "${EDDYRA_SANITIZE:-}" ] || options+=("-DEDDYRA_SANITIZE=$EDDYRA_SANITIZE")
BUILD_DIR=$build "$root/scripts/build.sh" "${options[@]}"
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 "$@"
