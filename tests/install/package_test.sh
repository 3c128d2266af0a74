#!/usr/bin/env bash
# Makes the Debian package of the build, checks what it holds and what its
# installation and removal steps run, and runs those steps on the unpacked
# tree with a machine-wide registry of the test's own: the program then
# finds the component from an empty folder for a user who registered
# nothing, and no longer after the removal step.
# Usage: package_test.sh <build folder>
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >cpack.log 2>&1) ||
  fail "cpack: $(cat "$tmp/cpack.log")"
deb=$(ls "$tmp"/out/*.deb)
dpkg-deb -c "$deb" >"$tmp/contents"
for file in usr/bin/Eddyra usr/bin/comreg usr/lib/quillet/libQuillet.so usr/share/eddyra/cg/stream_frag.cg \
            usr/include/quillet/storage/api/VariableStorage.h usr/lib/cmake/Quillet/QuilletConfig.cmake \
            usr/lib/pkgconfig/quillet.pc usr/lib/libquilletcom.a; do
  grep -q " \./$file\$" "$tmp/contents" || fail "the package lacks /$file"
done
dpkg-deb -e "$deb" "$tmp/control"
grep -q '"/usr/bin/comreg" --system "/usr/lib/quillet/$module"' "$tmp/control/postinst" ||
  fail "the installation step does not register: $(cat "$tmp/control/postinst")"
grep -q -- '--system -u' "$tmp/control/prerm" || fail "the removal step does not unregister"

# The steps, on the unpacked tree: the same commands under its root.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
step() { sed -e "s|\"/usr/|\"$root/usr/|g" "$tmp/control/$1" >"$tmp/$1"; sh "$tmp/$1" "$2"; }
unset COMREGISTRY_DIR
export HOME=$tmp/home XDG_CONFIG_HOME= XDG_CONFIG_DIRS=$tmp/xdg
mkdir -p "$HOME" "$tmp/work"
step postinst configure
cd "$tmp/work"
"$root/usr/bin/Eddyra" --headless --steps 10 2>err.txt || fail "after installation: $(cat err.txt)"
# Its user registered no class: the component came from the machine's registry.
[ ! -e "$HOME/.config/comregistry/HKEY_CLASSES_ROOT" ] || fail "classes were registered for the user"
step prerm remove
rc=0
"$root/usr/bin/Eddyra" --headless --steps 10 2>err.txt || rc=$?
[ "$rc" -eq 1 ] && grep -q 'not registered' err.txt || fail "after removal: exit $rc: $(cat err.txt)"
echo "packaged, registered for every user, unregistered"
