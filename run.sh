#!/usr/bin/env bash
# Builds what is needed and runs the saver: in test mode on a machine with a display,
# otherwise records frames of the show into ./frames.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] && [ -x build/host/plasmora ]; then
  exec build/host/plasmora /t "$@"
elif [ -x build/host/plasmora-record ]; then
  exec build/host/plasmora-record --out frames "$@"
fi
echo "run.sh: there is no display (DISPLAY is unset) and the frame recorder is not built yet; with a display this runs 'build/host/plasmora /t'." >&2
exit 1
