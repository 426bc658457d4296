#!/usr/bin/env bash
# The Windows build run as Windows would run it, under Wine on a virtual X display:
#   /s      draws the show (two screenshots, not black and not equal) and a key ends it with 0;
#   /c      shows the dialog, and OK writes the settings that `wine reg query` reads back;
#   /p HWND covers a parent window with its child and ends when the parent goes, and the
#   preview run paints bitmap 112 into it (tests/windows/preview_parent.cpp);
#   music on without bass.dll ends the run at once with 0; with it, the music plays (SDL's disk
#   output);
#   the registry as the settings store (tests/windows/settings_store_check.cpp).
# Screenshots go to SHOTS for looking at. Exit status 0 when all of it held.
# Usage: wine_test.sh OUT HELPERS SHOTS
#   OUT: the Windows build's out/ folder; HELPERS: its tests/windows/ folder.
set -u
out=$(realpath "$1")
helpers=$(realpath "$2")
shots=$(realpath -m "$3")
for tool in wine wineserver xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is needed"; exit 77; }
done
mkdir -p "$shots"
export WINEPREFIX=${WINEPREFIX:-$out/../wine-prefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

cat >"$shots/run.sh" <<'SCRIPT'
set -u
out=$1 helpers=$2 shots=$3
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
key='HKCU\Software\Quillmoor\Plasmora'
settings() {  # NAME=NUMBER ... : a fresh key with these values
  wine reg delete "$key" /f >/dev/null 2>&1
  wine reg add "$key" /v Path /t REG_SZ /d "$(winepath -w "$saver_dir")" /f >/dev/null
  for pair in "$@"; do
    wine reg add "$key" /v "${pair%%=*}" /t REG_DWORD /d "${pair#*=}" /f >/dev/null
  done
}
# Waits up to $2 tenths of a second for process $1; its exit status in $status ("timeout"
# when it had to be killed).
wait_exit() {
  for _ in $(seq "$2"); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then
    kill "$1"
    wait "$1" 2>/dev/null
    status=timeout
  else
    wait "$1"
    status=$?
  fi
}
brightness() { import -window root -crop "$1" -format '%[fx:mean]' info:; }
wait_window() {  # a visible window with this name, up to $2 tenths of a second
  for _ in $(seq "$2"); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1; done
  return 1
}

wineboot -i >/dev/null 2>&1
saver_dir=$(mktemp -d)
cp "$out/plasmora.scr" "$out/data.sdd" "$saver_dir/"
scr=$saver_dir/plasmora.scr

echo "--- /s"
settings EnableMusic=0 UseDesktop=1 ShowClock=1
wine "$scr" /s &
pid=$!
wait_window Plasmora 300 || fail "/s: no window"
# Past the loading picture into the show (a software renderer under Wine is slow to start).
sleep 8
import -window root "$shots/saver-1.png"
sleep 2
import -window root "$shots/saver-2.png"
mean=$(brightness 1280x1024+0+0)
echo "brightness $mean"
awk "BEGIN { exit !($mean > 0.02) }" || fail "/s: the screen is black"
cmp -s "$shots/saver-1.png" "$shots/saver-2.png" && fail "/s: the picture does not move"
xdotool key a
wait_exit $pid 100
echo "exit status after a key: $status"
[ "$status" = 0 ] || fail "/s: a key did not end the run with 0"

echo "--- music on, no bass.dll"
settings EnableMusic=1 UseDesktop=1
start=$(date +%s)
wine "$scr" /s &
wait_exit $! 300
echo "exit status $status after $(( $(date +%s) - start )) s"
[ "$status" = 0 ] || fail "no bass.dll: not ended with 0"

echo "--- music through bass.dll (SDL's disk output)"
cp "$out/bass.dll" "$saver_dir/"
settings EnableMusic=1 UseDesktop=1 Volume=100
# No SDL_DISKAUDIODELAY: SDL for Windows reads every variable into one buffer, and that read
# would overwrite the file name it has just read.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(winepath -w "$saver_dir/audio.raw")" wine "$scr" /s &
pid=$!
wait_window Plasmora 300 || fail "music: no window"
sleep 5
xdotool key a
wait_exit $pid 100
bytes=$(stat -c %s "$saver_dir/audio.raw" 2>/dev/null || echo 0)
loud=$(od -An -v -td2 -w2 -N 2000000 "$saver_dir/audio.raw" 2>/dev/null |
  awk '$1 > 1000 || $1 < -1000 { n++ } END { print n + 0 }')
echo "exit status $status; $bytes bytes of sound, $loud samples beyond 1000"
[ "$status" = 0 ] && [ "$loud" -gt 1000 ] || fail "music: not played"
rm -f "$saver_dir/bass.dll"

echo "--- /c"
settings EnableMusic=0 ShowFPS=0 Detail=1
wine "$scr" /c &
pid=$!
wait_window "Plasmora Configuration" 300 || fail "/c: no dialog"
sleep 1
import -window root "$shots/dialog.png"
# Clicks at a place given in the dialog's units (397 x 238).
dialog=$(xdotool search --onlyvisible --name "Plasmora Configuration" | head -1)
eval "$(xdotool getwindowgeometry --shell "$dialog")"
click() { xdotool mousemove $((X + WIDTH * $1 / 397)) $((Y + HEIGHT * $2 / 238)) click 1; }
click 115 18  # Show FPS
sleep 0.5
click 276 228  # OK
wait_exit $pid 100
echo "exit status after OK: $status"
[ "$status" = 0 ] || fail "/c: OK did not end with 0"
query=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
echo "$query"
for name in Width Height Depth UseDesktop EnableMusic Volume ShowClock ShowFPS TimeFormat \
  VSync Gamma DefGamma Detail MouseExit; do
  grep -q "^ *$name *REG_DWORD" <<<"$query" || fail "/c: OK did not write $name"
done
grep -q '^ *ShowFPS *REG_DWORD *0x1$' <<<"$query" || fail "/c: the Show FPS click was not saved"
grep -q '^ *Detail *REG_DWORD *0x1$' <<<"$query" || fail "/c: Detail changed"

echo "--- /p"
for size in "152 112" "200 150"; do
  wine "$helpers/preview_parent.exe" "$(winepath -w "$scr")" $size | tr -d '\r'
  [ "${PIPESTATUS[0]}" = 0 ] || fail "/p at $size"
done

echo "--- the registry as the settings store"
wine "$helpers/settings_store_check.exe" | tr -d '\r'
[ "${PIPESTATUS[0]}" = 0 ] || fail "the settings store"

wineserver -k
rm -rf "$saver_dir"
echo "$failures failed"
exit $((failures > 0))
SCRIPT

xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash "$shots/run.sh" "$out" "$helpers" "$shots"
