#!/bin/bash
# The Debian package, unpacked into a scratch root: every installed path, its declared
# dependencies, and the hack started the way a settings tool previews it (--window-id),
# which must keep running and use the package's own data and audio module.
# Usage: deb_test.sh BUILD_DIR. Exit 77 (skip) without cpack, dpkg-deb or xvfb-run.
set -u
build=$1
for tool in cpack dpkg-deb xvfb-run xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is needed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/out/plasmora_*.deb)
dpkg-deb -x "$deb" "$scratch/root" || exit 1
usr=$scratch/root/usr

[ -x "$usr/bin/plasmora" ] && [ -f "$usr/bin/plasmora" ] || fail "bin/plasmora"
[ "$(readlink -f "$usr/libexec/xscreensaver/plasmora")" = "$(readlink -f "$usr/bin/plasmora")" ] ||
  fail "libexec/xscreensaver/plasmora is not the program"
for file in share/xscreensaver/config/plasmora.xml share/plasmora/data.sdd \
    share/plasmora/libbass.so share/man/man6/plasmora.6 share/applications/plasmora.desktop; do
  [ -s "$usr/$file" ] || fail "$file"
done
grep -q '<command arg="--root"/>' "$usr/share/xscreensaver/config/plasmora.xml" ||
  fail "the description does not start the program with --root"
grep -q '^Exec=plasmora$' "$usr/share/applications/plasmora.desktop" || fail "desktop entry"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libx11-6 libxrandr2 libjpeg62-turbo; do
  [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# A settings tool takes a hack that ends within 2 s for one that cannot draw in its preview.
mkdir -p "$scratch/home/quillmoor"
echo "EnableMusic=1" >"$scratch/home/quillmoor/plasmora.conf"
cat >"$scratch/preview.sh" <<SCRIPT
id=\$(xwininfo -root | awk '/Window id/ {print \$4}')
XDG_CONFIG_HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/home SDL_AUDIODRIVER=disk \
  SDL_DISKAUDIOFILE=$scratch/audio.raw "$usr/libexec/xscreensaver/plasmora" --window-id \$id &
hack=\$!
sleep 3
kill -0 \$hack || exit 2
grep -q "$usr/share/plasmora/libbass.so" /proc/\$hack/maps || exit 3
kill -TERM \$hack
wait \$hack
SCRIPT
xvfb-run -a bash "$scratch/preview.sh"
case $? in
  0) ;;
  2) fail "the hack ended within 3 s of its start" ;;
  3) fail "the hack does not play through the package's audio module" ;;
  *) fail "the hack did not end with status 0 on SIGTERM" ;;
esac
[ $failed = 0 ] && echo "the package installs and runs"
exit $failed
