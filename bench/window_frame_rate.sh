#!/usr/bin/env bash
# The show in a real window beside the off-screen context at the same size: the saver runs as a
# hack into the root window of an Xvfb screen (a --window-id run) for one whole cycle of its
# scenes, reporting its own frame-rate counter every second (PLASMORA_FRAME_LOG), and
# show_frame_bench measures the same scenes off-screen. Per scene it prints the window's frames
# per second over up to 20 s (after the first 3 s of each visit, which the fly-in tunnel takes),
# its processor time per frame, the off-screen figures, and the ratio of the window's frame
# time to the off-screen one (the target is 1.2 at most).
#   bench/window_frame_rate.sh [BUILD_DIR] [WxH] [SECONDS]
# defaults: build, 1280x720, 110 (a cycle is about 100 s of show). Needs Xvfb (xvfb-run).
# Both runs share the machine with whatever else runs on it: read the ratio, not the rates.
set -euo pipefail
build=$(realpath "${1:-build}")
size=${2:-1280x720}
seconds=${3:-110}
saver=$build/host/plasmora
bench=$build/bench/show_frame_bench
for program in "$saver" "$bench"; do
  [ -x "$program" ] || { echo "window_frame_rate: $program is missing (build it first)" >&2; exit 2; }
done
command -v xvfb-run >/dev/null || { echo "window_frame_rate: needs xvfb-run" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${KEEP_LOG:-}" ] && trap 'cp "$work/window.log" "$KEEP_LOG"; rm -rf "$work"' EXIT
# A settings folder of its own: the defaults, no music, nothing of the user's touched.
mkdir -p "$work/config" "$work/home"

cat >"$work/window.sh" <<EOF
#!/usr/bin/env bash
root=\$(xwininfo -root | awk '/Window id:/ {print \$4}')
cd "$build/data"
PLASMORA_FRAME_LOG=1 SDL_AUDIODRIVER=dummy timeout -s TERM $seconds "$saver" --window-id "\$root" \
  2>"$work/window.log" || true
EOF
chmod +x "$work/window.sh"
HOME=$work/home XDG_CONFIG_HOME=$work/config \
  xvfb-run -a -s "-noreset -screen 0 ${size}x24" "$work/window.sh"

"$bench" --size="$size" --benchmark_filter='loadAll|frameOf' --benchmark_format=json \
  >"$work/offscreen.json" 2>/dev/null

# The counter's lines: "plasmora: frame rate N in SCENE, cpu S s". A visit is a run of lines of
# one scene; the first 3 lines of each visit and the line that closes it are left out.
python3 - "$work/window.log" "$work/offscreen.json" "$size" <<'EOF'
import json, re, sys
log, offscreen, size = sys.argv[1:4]
visits = []  # [scene, [(fps, cpu)]]
for line in open(log):
    m = re.match(r"plasmora: frame rate (\d+) in (\w+), cpu ([\d.]+) s", line)
    if not m:
        continue
    fps, scene, cpu = int(m[1]), m[2], float(m[3])
    if not visits or visits[-1][0] != scene:
        visits.append([scene, []])
    visits[-1][1].append((fps, cpu))
window = {}
for scene, seconds in visits:
    if scene in window or len(seconds) < 6:
        continue
    kept = seconds[2:-1][:21]
    frames = sum(f for f, _ in kept[1:])
    cpu = kept[-1][1] - kept[0][1]
    if frames > 0:
        window[scene] = (frames / (len(kept) - 1), cpu * 1e3 / frames)
names = {"cells": "Cells", "core": "Core", "dna": "Dna"}
bench = {}
for run in json.load(open(offscreen))["benchmarks"]:
    if run["name"].startswith("frameOf/") and "fps" in run:
        bench[names[run["name"].split("/")[1]]] = (run["fps"], run["cpu_ms"])
print(f"real window (hack --window-id under Xvfb) beside off-screen, {size}")
print(f"{'scene':6} {'win_fps':>8} {'win_cpu_ms':>10} {'off_fps':>8} {'off_cpu_ms':>10} {'x_offscreen':>11}")
for scene in ("Cells", "Core", "Dna"):
    if scene not in window or scene not in bench:
        print(f"{scene:6} (not measured)")
        continue
    wf, wc = window[scene]
    of, oc = bench[scene]
    print(f"{scene:6} {wf:8.1f} {wc:10.1f} {of:8.1f} {oc:10.1f} {of / wf:11.2f}")
EOF
