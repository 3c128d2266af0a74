#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need
# (python3-numpy: the tests read the program's .npy files back with it).
# Packages already present are skipped, so a second run costs a few seconds.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libepoxy-dev libegl-dev libegl-mesa0 libgl1-mesa-dri mesa-utils
  xvfb xauth x11-utils x11-apps imagemagick
  fonts-dejavu-core
  python3-numpy
)

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
