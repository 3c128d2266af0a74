#!/usr/bin/env bash
# Sets up a fresh machine, builds, and runs the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
BUILD_TYPE=Release "$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
echo "The window is not built yet: running the solver benchmark instead."
"$build/bench/sim/sim_bench"
