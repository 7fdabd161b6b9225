#!/usr/bin/env bash
# The render tool end to end, two builds side by side in one run (each a build folder such as
# build/default), on the frame of frame_bench's ModuleFrame (bench/frame_1080p.json):
#   - start-up: `quorvel-render --help`, and a run of one 8-bit frame;
#   - the cost per frame of FRAMES frames (default 100) in each depth, 8 and 16 bits to PNG and
#     float to TIFF, on each of THREADS host threads (default 1 2 4 8);
#   - the module's own frame (frame_bench: ModuleFrame, and SceneFrame where the build has it)
#     and, for builds that have it, the frame step by step (ModulePhases).
# Every figure is the median of RUNS rounds (default 5). Within a round each measurement runs
# for both builds, one after the other, so that a machine whose load drifts weighs on both
# alike. Needs python3.
#
#   bench/tool_bench.sh BASE_BUILD NEW_BUILD [OUTPUT_FOLDER]
#   FRAMES=20 RUNS=3 THREADS="1 4" bench/tool_bench.sh build/base build/default
set -euo pipefail

if [ $# -lt 2 ]; then
    sed -n '2,14p' "$0"
    exit 1
fi
base=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
results=${3:-$(mktemp -d /tmp/quorvel_tool_bench.XXXXXX)}
mkdir -p "$results"
frames=${FRAMES:-100}
runs=${RUNS:-5}
threads=${THREADS:-1 2 4 8}
scene=$(cd "$(dirname "$0")" && pwd)/frame_1080p.json
images=$(mktemp -d /tmp/quorvel_tool_bench_images.XXXXXX)
trap 'rm -rf "$images"' EXIT

# Appends the seconds a command takes to results/NAME.times.
time_command() {
    local start end
    start=$(date +%s.%N)
    "${@:2}" > /dev/null 2>&1
    end=$(date +%s.%N)
    awk "BEGIN { print $end - $start }" >> "$results/$1.times"
}

echo "results in $results; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$runs"); do
    for build in base new; do
        tool=${!build}/tools/quorvel-render
        for i in 1 2 3 4 5; do
            time_command "$build.help" "$tool" --help
        done
        time_command "$build.one_frame" "$tool" "$scene" -o "$images/$build.png"
    done
    for depth in 8 16 32; do
        extension=png
        [ "$depth" = 32 ] && extension=tif
        for count in $threads; do
            for build in base new; do
                time_command "$build.frames.$depth.$count" "${!build}/tools/quorvel-render" \
                    "$scene" --depth "$depth" --frames "0-$((frames - 1))" --threads "$count" \
                    -o "$images/$build.$depth.$count.####.$extension"
                stat -c %s "$images/$build.$depth.$count.0000.$extension" \
                    > "$results/$build.size.$depth"
                rm -f "$images/$build.$depth.$count".*
            done
        done
    done
    for build in base new; do
        filter='ModuleFrame/.*_default|SceneFrame'
        if "${!build}/bench/frame_bench" --benchmark_list_tests | grep -q ModulePhases; then
            filter="$filter|ModulePhases/.*_default"
        fi
        "${!build}/bench/frame_bench" --benchmark_filter="$filter" --benchmark_format=json \
            --benchmark_out="$results/$build.frame_bench.$round.json" > /dev/null 2>&1
    done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$results" "$frames" "$runs" "$threads" <<'EOF'
import glob, json, os, statistics, sys
folder, frames, runs, threads = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4].split()

def seconds(name):
    with open(os.path.join(folder, name + ".times")) as f:
        return statistics.median(float(line) for line in f if line.strip())

def bench_value(build, run_name, key="real_time"):
    values = []
    for path in glob.glob(os.path.join(folder, f"{build}.frame_bench.*.json")):
        for row in json.load(open(path))["benchmarks"]:
            if row["run_name"] == run_name and key in row:
                values.append(row[key])
    return statistics.median(values) if values else None

depths = [("8", "8bit"), ("16", "16bit"), ("32", "float")]
print("\nStart-up (median seconds)                            base     new")
print(f"  quorvel-render --help                             {seconds('base.help'):6.3f}  {seconds('new.help'):6.3f}")
print(f"  one 8-bit frame, whole run                        {seconds('base.one_frame'):6.3f}  {seconds('new.one_frame'):6.3f}")
steady = {b: seconds(f"{b}.frames.8.1") / frames for b in ("base", "new")}
print(f"  the same less one steady frame of the tool        "
      f"{seconds('base.one_frame') - steady['base']:6.3f}  {seconds('new.one_frame') - steady['new']:6.3f}")

print(f"\nPer frame over {frames} frames, one thread (median ms)")
print("  depth    tool base  tool new   ModuleFrame base  new   SceneFrame new   new/ModuleFrame  new/SceneFrame")
for depth, name in depths:
    tool = {b: seconds(f"{b}.frames.{depth}.1") / frames * 1000 for b in ("base", "new")}
    module = {b: bench_value(b, f"ModuleFrame/{name}_default/real_time") for b in ("base", "new")}
    scene = bench_value("new", f"SceneFrame/{name}/real_time")
    scene_text = f"{scene:8.1f}" if scene else "       -"
    scene_ratio = f"{tool['new'] / scene:6.2f}" if scene else "     -"
    print(f"  {name:6} {tool['base']:10.1f} {tool['new']:9.1f}   {module['base']:12.1f} {module['new']:6.1f}"
          f"   {scene_text}         {tool['new'] / module['new']:6.2f}           {scene_ratio}")

print("\nFrames per second by --threads (speed-up over one thread)")
for depth, name in depths:
    for build in ("base", "new"):
        one = frames / seconds(f"{build}.frames.{depth}.1")
        cells = []
        for count in threads:
            fps = frames / seconds(f"{build}.frames.{depth}.{count}")
            cells.append(f"{count}: {fps:5.2f} ({fps / one:4.2f}x)")
        print(f"  {name:6} {build:4}  " + "   ".join(cells))

print("\nFirst image's size (bytes)        base       new")
for depth, name in depths:
    sizes = [int(open(os.path.join(folder, f"{b}.size.{depth}")).read()) for b in ("base", "new")]
    print(f"  {name:6}                   {sizes[0]:9d} {sizes[1]:9d}")

for depth, name in depths:
    run_name = f"ModulePhases/{name}_default/iterations:11/real_time"
    rows = [r for p in glob.glob(os.path.join(folder, "new.frame_bench.*.json"))
            for r in json.load(open(p))["benchmarks"] if r["run_name"] == run_name]
    if not rows:
        continue
    print(f"\nnew: {name} frame step by step (median ms per frame; 'first': a thread's first frame)")
    for key in sorted(k for k in rows[0] if k[:2].isdigit() or k.startswith("first ")):
        print(f"  {key:45} {statistics.median(r[key] for r in rows if key in r):8.2f}")
EOF
