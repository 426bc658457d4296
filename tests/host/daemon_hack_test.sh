#!/bin/bash
# The program started by the real screensaver daemon, as its users would have it: on two
# monitors the daemon runs one hack on each, both draw, exactly one of them loads the music
# module, "deactivate" ends them all, and the gamma ramp is what it was. The daemon refuses to start hacks as root, so
# under root it runs as nobody. Slow (about 20 s): runs only with PLASMORA_SOAK_MINUTES or
# PLASMORA_DAEMON_TEST set; exit 77 (skip) otherwise or without the programs it needs.
# Usage: daemon_hack_test.sh PROGRAM
set -u
program=$1
[ -n "${PLASMORA_SOAK_MINUTES:-}${PLASMORA_DAEMON_TEST:-}" ] ||
  { echo "skipped: set PLASMORA_DAEMON_TEST=1 (or run ./test.sh --soak)"; exit 77; }
for tool in xscreensaver xscreensaver-command xvfb-run xrandr setpriv import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is needed"; exit 77; }
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
chmod 755 "$home"
mkdir -p "$home/config/quillmoor"
# Stored settings with music and a ramp of their own, which a hack must leave alone.
printf 'EnableMusic=1\nDefGamma=0\nGamma=100\nVSync=1\n' >"$home/config/quillmoor/plasmora.conf"
printf 'mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\nsplash: False\n' \
  >"$home/.xscreensaver"
printf 'programs: GL: %s --root \\n\n' "$program" >>"$home/.xscreensaver"
chmod -R a+rwX "$home"

cat >"$home/run.sh" <<SCRIPT
as_user=""
[ "\$(id -u)" = 0 ] && as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
user() { \$as_user env HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home \
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$home/audio.raw "\$@"; }
# Only this test's hacks: ctest may run others of the same program at the same time.
hacks() {
  for pid in \$(pgrep -f "^$program --root"); do
    grep -qz "^XDG_RUNTIME_DIR=$home\\\$" /proc/\$pid/environ 2>/dev/null && echo \$pid
  done
}
# Two monitors side by side on the one screen, as RandR 1.5 describes them.
xrandr --setmonitor LEFT 640/170x1024/270+0+0 screen
xrandr --setmonitor RIGHT 640/170x1024/270+640+0 none
xrandr --output screen --gamma 1.0:0.85:0.6
before=\$(xrandr --verbose | grep -i gamma)
user xscreensaver -no-splash >$home/daemon.log 2>&1 &
sleep 2
user xscreensaver-command -activate >/dev/null
for i in \$(seq 100); do [ -n "\$(hacks)" ] && break; sleep 0.1; done
sleep 5
running=\$(hacks | wc -l)
playing=0
for pid in \$(hacks); do grep -q libbass.so /proc/\$pid/maps && playing=\$((playing + 1)); done
echo "hacks running: \$running, playing music: \$playing"
[ "\$running" = 2 ] && [ "\$playing" = 1 ] || exit 2
for half in 640x1024+0+0 640x1024+640+0; do
  mean=\$(import -window root -crop \$half -format '%[fx:mean]' info:)
  echo "brightness of \$half: \$mean"
  awk "BEGIN { exit !(\$mean > 0.02) }" || exit 6
done
[ -s $home/audio.raw ] || exit 3
user xscreensaver-command -deactivate >/dev/null
for i in \$(seq 30); do [ -z "\$(hacks)" ] && break; sleep 0.1; done
[ -z "\$(hacks)" ] || exit 4
[ "\$(xrandr --verbose | grep -i gamma)" = "\$before" ] || exit 5
user xscreensaver-command -exit >/dev/null
exit 0
SCRIPT
xvfb-run -a -s "-ac -noreset -screen 0 1280x1024x24" bash "$home/run.sh"
status=$?
case $status in
  0) echo "the daemon runs the program as a hack" ;;
  2) echo "FAILED: not one hack on each monitor, or not exactly one playing music" ;;
  3) echo "FAILED: no music was written" ;;
  4) echo "FAILED: a hack outlived the daemon's deactivate by 3 s" ;;
  5) echo "FAILED: the gamma ramp changed" ;;
  6) echo "FAILED: a monitor stayed black" ;;
  *) echo "FAILED: status $status"; cat "$home/daemon.log" ;;
esac
exit $status
