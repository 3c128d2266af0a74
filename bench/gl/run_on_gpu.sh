#!/usr/bin/env bash
# Builds the drawing benchmark and runs it through headless EGL on whatever
# GPU the machine has.  The first line the benchmark prints names the
# renderer; check it is the GPU and not llvmpipe.
#
# Bound: each step is two full-grid passes that read and write the 36 bytes
# of a cell, 4 * 36 = 144 bytes per lattice update, so
#   MLUPS bound = memory bandwidth in bytes/s / 144 / 1e6
# (3.35 TB/s, an H100 SXM: about 23 000 MLUPS; 2.0 TB/s, H100 PCIe: 13 900).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build-gpu}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" gl_bench
nvidia-smi --query-gpu=name,memory.total,clocks.max.memory --format=csv 2>/dev/null || true
"$build/bench/gl/gl_bench" --benchmark_min_time=1s "$@"
