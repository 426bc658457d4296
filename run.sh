#!/usr/bin/env bash
# Builds what is needed and runs the saver: in test mode on a machine with a display,
# otherwise records 30 s of the show off-screen into ./frames with a contact sheet.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ -n "${DISPLAY:-}" ]; then
  exec build/host/plasmora /t "$@"
fi
# No display: 30 s of the show recorded off-screen, ten frames a second, and a contact sheet.
build/recorder/plasmora-record --out frames --seconds 30 --fps 10 --sheet 4x3 "$@"
echo "The pictures are in $PWD/frames: frame_000000.png onwards, and contact_sheet.png for all of it at a glance."
