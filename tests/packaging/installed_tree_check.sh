#!/bin/bash
# An installed tree of the program (a DESTDIR of `cmake --install`, or a Debian package
# unpacked with dpkg-deb -x): every installed path, and the hack started the way a settings
# tool previews it (--window-id), which must keep running and play music through the audio
# module in the library folder, found there because its Path folder holds only data.sdd.
# Usage: installed_tree_check.sh PREFIX LIBDIR
#   PREFIX  the installed prefix inside the tree (ROOT/usr)
#   LIBDIR  the library folder below it (lib/x86_64-linux-gnu, or lib)
# Prints a FAILED line for each fault; exit status 1 when there was one.
set -u
prefix=$(realpath "$1")
libdir=$2
failed=0
fail() { echo "FAILED: $*"; failed=1; }

[ -x "$prefix/bin/plasmora" ] && [ -f "$prefix/bin/plasmora" ] || fail "bin/plasmora"
[ "$(readlink -f "$prefix/libexec/xscreensaver/plasmora")" = "$(readlink -f "$prefix/bin/plasmora")" ] ||
  fail "libexec/xscreensaver/plasmora is not the program"
module=$prefix/$libdir/plasmora/libbass.so
for file in share/xscreensaver/config/plasmora.xml share/plasmora/data.sdd \
    "$libdir/plasmora/libbass.so" share/applications/plasmora.desktop \
    share/doc/plasmora/examples/sway-idle.conf share/doc/plasmora/examples/xscreensaver; do
  [ -s "$prefix/$file" ] || fail "$file"
done
[ -s "$prefix/share/man/man6/plasmora.6" ] || [ -s "$prefix/share/man/man6/plasmora.6.gz" ] ||
  fail "share/man/man6/plasmora.6"
# Built for one architecture: nothing of the module in share/.
[ -e "$prefix/share/plasmora/libbass.so" ] && fail "share/plasmora holds the audio module"
grep -q '<command arg="--root"/>' "$prefix/share/xscreensaver/config/plasmora.xml" ||
  fail "the description does not start the program with --root"
grep -q '^Exec=plasmora$' "$prefix/share/applications/plasmora.desktop" || fail "desktop entry"

# A settings tool takes a hack that ends within 2 s for one that cannot draw in its preview:
# the hack must still run once its music plays.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home/quillmoor"
chmod 700 "$scratch/home"
echo "EnableMusic=1" >"$scratch/home/quillmoor/plasmora.conf"
cat >"$scratch/preview.sh" <<SCRIPT
id=\$(xwininfo -root | awk '/Window id/ {print \$4}')
XDG_CONFIG_HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/home SDL_AUDIODRIVER=disk \
  SDL_DISKAUDIOFILE=$scratch/audio.raw "$prefix/libexec/xscreensaver/plasmora" --window-id \$id &
hack=\$!
# Music that is not silence, through the module of the library folder (generous: a busy
# machine may take long to start the show).
heard=no
for i in \$(seq 600); do
  kill -0 \$hack 2>/dev/null || exit 2
  if grep -qF "$module" /proc/\$hack/maps && [ -s "$scratch/audio.raw" ] &&
      [ -n "\$(head -c 4000000 "$scratch/audio.raw" | tr -d '\0' | head -c 1)" ]; then
    heard=yes
    break
  fi
  sleep 0.2
done
[ \$heard = yes ] || { kill -KILL \$hack; exit 3; }
kill -0 \$hack 2>/dev/null || exit 2
kill -TERM \$hack
wait \$hack
SCRIPT
xvfb-run -a bash "$scratch/preview.sh"
case $? in
  0) ;;
  2) fail "the hack ended by itself" ;;
  3) fail "the hack plays no music through $module within 120 s" ;;
  *) fail "the hack did not end with status 0 on SIGTERM" ;;
esac
exit $failed
