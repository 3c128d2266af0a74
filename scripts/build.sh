#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR).  Arguments are options
# for the configure step (-DEDDYRA_BUILD_TESTS=OFF and the like); TARGETS,
# when set, names the targets to build instead of everything.
#
# The run and the test script share the folder and its build type: switching
# between them builds only what the other one lacks.  RelWithDebInfo
# optimises as much as the simulator needs (its hot kernels choose their own
# flags) and keeps the symbols that make a crash or a sanitizer report
# readable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
read -r -a targets <<<"${TARGETS:-}"
cmake --build "$build" ${targets[@]+--target "${targets[@]}"}
