#!/bin/bash
# The Debian package as Debian's own tools make and judge it: dpkg-buildpackage -us -uc -b on
# a copy of the source tree, lintian on the result (no error and no warning: its output must
# be empty), the package's file list, and the unpacked package checked as an installed tree.
# Slow (the whole program is built again with the package's flags): runs only with
# PLASMORA_SOAK_MINUTES or PLASMORA_DEB_TEST set.
# Usage: deb_test.sh SOURCE_DIR BUILD_DIR. The copy and the packages are left in
# BUILD_DIR/deb-package/ for looking at (one fixed place, so a second run hits the compiler
# cache). Exit 77 (skip) when not asked for or without the tools.
set -u
source=$(realpath "$1")
build=$(realpath "$2")
[ -n "${PLASMORA_SOAK_MINUTES:-}${PLASMORA_DEB_TEST:-}" ] ||
  { echo "skipped: set PLASMORA_DEB_TEST=1 (or run ./test.sh --soak)"; exit 77; }
for tool in dpkg-buildpackage dh lintian dpkg-architecture git xvfb-run xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is needed"; exit 77; }
done
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# The files git knows of as they are now (committed or not), nothing of any build.
work=$build/deb-package
rm -rf "$work"
mkdir -p "$work/plasmora"
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents -t "$work/plasmora") || exit 1

# debhelper gives the build a HOME of its own: the cache is named outright to be shared.
if command -v ccache >/dev/null; then
  export CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)} CCACHE_BASEDIR=$work/plasmora
fi
(cd "$work/plasmora" && nice dpkg-buildpackage -us -uc -b -j"$(nproc)") >"$work/build.log" 2>&1 ||
  { tail -n 60 "$work/build.log"; echo "FAILED: dpkg-buildpackage (log: $work/build.log)"; exit 1; }

changes=$(ls "$work"/plasmora_*.changes)
deb=$(ls "$work"/plasmora_*.deb)
lintian --fail-on error,warning "$changes" >"$work/lintian.txt" 2>&1
lintian_status=$?
lintian_output=$(grep -v '^running with root privileges is not recommended!$' "$work/lintian.txt")
echo "lintian $(basename "$changes"): ${lintian_output:-(nothing)}"
[ "$lintian_status" = 0 ] && [ -z "$lintian_output" ] || fail "lintian"
ls "$work"/plasmora-dbgsym_*.deb >/dev/null 2>&1 || fail "no -dbgsym package"

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
dpkg -c "$deb" >"$work/contents.txt"
echo "dpkg -c $(basename "$deb"):"
awk '{print $6, $7, $8}' "$work/contents.txt"
for path in ./usr/bin/plasmora ./usr/libexec/xscreensaver/plasmora \
    ./usr/share/xscreensaver/config/plasmora.xml ./usr/share/plasmora/data.sdd \
    "./usr/lib/$multiarch/plasmora/libbass.so" ./usr/share/man/man6/plasmora.6.gz \
    ./usr/share/applications/plasmora.desktop ./usr/share/doc/plasmora/copyright \
    ./usr/share/doc/plasmora/changelog.gz ./usr/share/doc/plasmora/examples/sway-idle.conf \
    ./usr/share/doc/plasmora/examples/xscreensaver; do
  awk -v p="$path" '$6 == p {found = 1} END {exit !found}' "$work/contents.txt" ||
    fail "dpkg -c lacks $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libx11-6 libxrandr2 libjpeg62-turbo libsdl2-2.0-0 libvorbisfile3; do
  [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root" || exit 1
"$(dirname "$0")/installed_tree_check.sh" "$root/usr" "lib/$multiarch" || failed=1
[ $failed = 0 ] && echo "the package is built, lintian-clean, installs and runs"
exit $failed
