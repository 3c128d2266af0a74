#!/usr/bin/env bash
# Installs the Debian packages that a step needs:
#   setup.sh run    building the program and the component, and running them
#   setup.sh test   the above, and the test and benchmark libraries and tools
# (the default).  Packages already present are skipped, so a second run costs
# a few seconds.
set -euo pipefail

run_packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libepoxy-dev libegl-dev libegl-mesa0 libgl1-mesa-dri libpng-dev
  xvfb xauth fonts-dejavu-core
)
# GoogleTest and Google Benchmark for the suite and the benchmarks, clang for
# the fuzzers, the X tools and ImageMagick that the window tests use to find
# and look at the program's window, and NumPy to read the program's .npy
# files back.
test_packages=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  mesa-utils x11-utils x11-apps imagemagick
  python3-numpy
)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: setup.sh [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
