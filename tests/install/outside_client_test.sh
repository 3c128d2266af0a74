#!/usr/bin/env bash
# Installs the build into a temporary prefix (which registers the component
# in the test's registry) and builds a program outside the tree against the
# prefix alone, once through find_package(Quillet) and once through
# pkg-config; each creates the component by class id, saves and loads.
# Usage: outside_client_test.sh <build folder> <client source folder> <lib dir>
# Environment: CXX, CXX_LAUNCHER (may be empty), CLIENT_FLAGS (may be empty).
set -euo pipefail
build=$1 source=$2 libdir=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export COMREGISTRY_DIR=$tmp/registry
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || fail "install: $(cat "$tmp/install.log")"
grep -q 'registered .*libQuillet.so' "$tmp/install.log" || fail "the install did not register: $(cat "$tmp/install.log")"

read -r -a flags <<<"${CLIENT_FLAGS:-}"
cmake -S "$source" -B "$tmp/client" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$CXX" \
  -DCMAKE_CXX_COMPILER_LAUNCHER="${CXX_LAUNCHER:-}" -DCMAKE_CXX_FLAGS="${CLIENT_FLAGS:-}" \
  >"$tmp/configure.log" 2>&1 || fail "configure: $(cat "$tmp/configure.log")"
cmake --build "$tmp/client" >"$tmp/build.log" 2>&1 || fail "build: $(cat "$tmp/build.log")"
mkdir "$tmp/saved-cmake" "$tmp/saved-pkgconfig"
"$tmp/client/VariablesClient" "$tmp/saved-cmake"

export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
module=$(pkg-config --variable=module quillet)
[ -f "$module" ] || fail "pkg-config names no module: $module"
read -r -a pc <<<"$(pkg-config --cflags --libs quillet)"
${CXX_LAUNCHER:+"$CXX_LAUNCHER"} "$CXX" -std=c++20 ${flags[@]+"${flags[@]}"} "$source/VariablesClient.cpp" \
  -o "$tmp/client-pc" "${pc[@]}" || fail "the pkg-config build failed"
"$tmp/client-pc" "$tmp/saved-pkgconfig"
