#!/usr/bin/env bash
# The largest difference between two recordings of the show (plasmora-record, same seed and
# settings): for each frame_*.png in both folders, the largest difference of any channel of any
# pixel (ImageMagick's peak absolute error, in 0..255), then the largest of all and the frame
# it is in. A change meant to leave the picture alone should stay at 2 or below.
#   bench/compare_recordings.sh BEFORE_DIR AFTER_DIR
set -euo pipefail
before=${1:?usage: compare_recordings.sh BEFORE_DIR AFTER_DIR}
after=${2:?usage: compare_recordings.sh BEFORE_DIR AFTER_DIR}
command -v compare >/dev/null || { echo "compare_recordings: needs ImageMagick's compare" >&2; exit 2; }
worst=0 worstFrame="" frames=0 differing=0
for a in "$before"/frame_*.png; do
  name=$(basename "$a")
  b=$after/$name
  [ -f "$b" ] || { echo "compare_recordings: $name is missing from $after" >&2; exit 1; }
  frames=$((frames + 1))
  cmp -s "$a" "$b" && continue  # the same file: no difference
  differing=$((differing + 1))
  # "PAE" prints "Q (fraction)" on stderr; the fraction times 255 is the channel difference.
  fraction=$( (compare -metric PAE "$a" "$b" null: 2>&1 || true) | sed -n 's/.*(\(.*\)).*/\1/p')
  peak=$(awk -v f="${fraction:-1}" 'BEGIN { printf "%d", f * 255 + 0.5 }')
  if [ "$peak" -gt "$worst" ]; then worst=$peak worstFrame=$name; fi
done
[ "$frames" -gt 0 ] || { echo "compare_recordings: no frames in $before" >&2; exit 1; }
echo "$frames frames compared, $differing not identical; largest channel difference $worst${worstFrame:+ (in $worstFrame)}"
[ "$worst" -le 2 ]
