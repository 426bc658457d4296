#!/usr/bin/env bash
# Tries the Windows installer under Wine on a virtual display: a silent install into a fresh
# Wine prefix, the registry values and files it must leave (the saver in the 64-bit system
# folder, the rest in the program folder), the installed saver running from the system folder
# (a screenshot goes to BUILD_DIR/installed-saver.png), then a silent uninstall that must take
# them all away again.
# Usage: tests/windows/installer_test.sh [BUILD_DIR]   (default: build-windows)
# The Wine prefix is BUILD_DIR/wine-check (made anew each time; ~700 MB, ~10 s to make).
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(realpath -m "${1:-$repo/build-windows}")
setup=$build_dir/out/plasmora-setup.exe
[ -f "$setup" ] || {
  echo "installer_test: $setup is missing (scripts/build_windows.sh makes it)" >&2
  exit 1
}

export WINEPREFIX=$build_dir/wine-check WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ "${PLASMORA_CHECK_INSIDE_X:-}" = yes ] || rm -rf "$WINEPREFIX"
folder='C:\Program Files\Plasmora'
unix_folder=$WINEPREFIX/drive_c/Program\ Files/Plasmora
system_folder='C:\windows\system32'
unix_saver=$WINEPREFIX/drive_c/windows/system32/plasmora.scr
# Where a 32-bit installer would have put it without turning redirection off.
unix_saver_32=$WINEPREFIX/drive_c/windows/syswow64/plasmora.scr

failures=0
expect() {  # expect WHAT ACTUAL WANTED
  if [ "$2" = "$3" ]; then
    echo "ok   $1" >&2
  else
    echo "FAIL $1: got '$2', want '$3'" >&2
    failures=$((failures + 1))
  fi
}
# The data of one registry value, or "(none)".
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name {sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print; found = 1}
                      END {if (!found) print "(none)"}'
}

# One X server and one wineserver for every step; wineserver -w waits for the installer's
# and the uninstaller's processes (the uninstaller runs on from a copy of itself).
run_steps() {
  wine "$setup" /S
  wineserver -w
  expect "installer: Path" "$(reg_value 'HKCU\Software\Quillmoor\Plasmora' Path)" "$folder"
  # The system's own spelling of its folder may differ in case.
  expect "installer: SCRNSAVE.EXE" \
    "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE | tr '[:upper:]' '[:lower:]')" \
    "$system_folder\\plasmora.scr"
  expect "installer: ScreenSaveActive" \
    "$(reg_value 'HKCU\Control Panel\Desktop' ScreenSaveActive)" "1"
  local file
  for file in bass.dll data.sdd; do
    expect "installer: $file" "$(cmp -s "$unix_folder/$file" "$build_dir/out/$file" &&
      echo same || echo different)" same
  done
  expect "installer: plasmora.scr in the system folder" "$(cmp -s "$unix_saver" \
    "$build_dir/out/plasmora.scr" && echo same || echo different)" same
  expect "installer: no plasmora.scr in the program folder" \
    "$([ -e "$unix_folder/plasmora.scr" ] && echo present || echo absent)" absent
  expect "installer: no plasmora.scr in the 32-bit system folder" \
    "$([ -e "$unix_saver_32" ] && echo present || echo absent)" absent
  expect "installer: the licence" "$(grep -c 'MIT License' "$unix_folder/LICENSE.txt")" 1
  expect "installer: its entry in the programs list" "$(wine reg query \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plasmora' /reg:64 \
    >/dev/null 2>&1 && echo present || echo gone)" present

  # The installed saver, started from the system folder as the system starts it, finds its
  # files through Path: with music on (the default) a missing bass.dll would end it at once.
  # It must still be running after a while, and a key ends it.
  wine "$system_folder\\plasmora.scr" /s &
  local saver=$!
  sleep 20
  expect "installed saver: running" "$(kill -0 $saver 2>/dev/null && echo yes || echo no)" yes
  if command -v import >/dev/null; then
    import -window root "$build_dir/installed-saver.png" 2>/dev/null || true
  fi
  xdotool key space
  local i
  for i in $(seq 20); do
    kill -0 $saver 2>/dev/null || break
    sleep 0.5
  done
  expect "installed saver: ends on a key" "$(kill -0 $saver 2>/dev/null && echo no || echo yes)" yes
  kill $saver 2>/dev/null
  wineserver -w

  wine "$unix_folder/uninstall.exe" /S
  wineserver -w
  expect "uninstaller: settings key" "$(wine reg query 'HKCU\Software\Quillmoor\Plasmora' \
    >/dev/null 2>&1 && echo present || echo gone)" gone
  expect "uninstaller: SCRNSAVE.EXE" "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" \
    "(none)"
  expect "uninstaller: program folder" "$([ -e "$unix_folder" ] && echo present || echo gone)" \
    gone
  expect "uninstaller: plasmora.scr" "$([ -e "$unix_saver" ] && echo present || echo gone)" gone
  expect "uninstaller: its entry in the programs list" "$(wine reg query \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plasmora' /reg:64 \
    >/dev/null 2>&1 && echo present || echo gone)" gone
  [ $failures -eq 0 ]
}
if [ "${PLASMORA_CHECK_INSIDE_X:-}" = yes ]; then
  set +e
  wineboot -i >/dev/null 2>&1
  run_steps
  exit
fi

status=0
PLASMORA_CHECK_INSIDE_X=yes xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build_dir" ||
  status=$?
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
exit $status
