#!/usr/bin/env bash
# The render tool end to end, two builds side by side in one run (each a build folder such as
# build/default), on the frame of frame_bench's ModuleFrame (bench/frame_1080p.json):
#   - start-up: `quorvel-render --help`, and a run of one 8-bit frame;
#   - the cost per frame of FRAMES frames (default 100) in each depth, 8 and 16 bits to PNG and
#     float to TIFF, on 1, 2, 4 and 8 host threads;
#   - the module's own frame (frame_bench: ModuleFrame, and SceneFrame where the build has it)
#     and, for builds that have it, the frame step by step (ModulePhases).
# Every figure is the median of RUNS runs (default 5), after WARMUP runs (default 1) that
# are not counted. Needs hyperfine and python3.
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
warmup=${WARMUP:-1}
threads=${THREADS:-1 2 4 8}
scene=$(cd "$(dirname "$0")" && pwd)/frame_1080p.json
images=$(mktemp -d /tmp/quorvel_tool_bench_images.XXXXXX)
trap 'rm -rf "$images"' EXIT

echo "results in $results; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
time_command() {  # name, command
    hyperfine --style none -N --warmup "$warmup" --runs "$runs" --export-json "$results/$1.json" \
        --command-name "$1" "$2" > /dev/null
}

for build in base new; do
    tool=${!build}/tools/quorvel-render
    time_command "$build.help" "$tool --help"
    time_command "$build.one_frame" "$tool $scene -o $images/$build.png"
    for depth in 8 16 32; do
        extension=png
        [ "$depth" = 32 ] && extension=tif
        for count in $threads; do
            time_command "$build.frames.$depth.$count" \
                "$tool $scene --depth $depth --frames 0-$((frames - 1)) --threads $count -o $images/$build.$depth.$count.####.$extension"
        done
        stat -c %s "$images/$build.$depth.1.0000.$extension" > "$results/$build.size.$depth"
    done
    filter='ModuleFrame/.*_default|SceneFrame'
    if "${!build}/bench/frame_bench" --benchmark_list_tests | grep -q ModulePhases; then
        filter="$filter|ModulePhases/.*_default"
    fi
    "${!build}/bench/frame_bench" --benchmark_filter="$filter" \
        --benchmark_repetitions="$runs" --benchmark_format=json \
        --benchmark_out="$results/$build.frame_bench.json" > /dev/null 2>&1
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$results" "$frames" "$threads" <<'EOF'
import json, os, statistics, sys
folder, frames, threads = sys.argv[1], int(sys.argv[2]), sys.argv[3].split()

def run(name):
    with open(os.path.join(folder, name + ".json")) as f:
        return statistics.median(json.load(f)["results"][0]["times"])

def frame_bench(build):
    with open(os.path.join(folder, build + ".frame_bench.json")) as f:
        rows = json.load(f)["benchmarks"]
    # Medians of the repetitions; a single repetition has no aggregates.
    medians = {r["run_name"]: r for r in rows if r.get("aggregate_name") == "median"}
    return medians or {r["run_name"]: r for r in rows}

depths = [("8", "8bit"), ("16", "16bit"), ("32", "float")]
bench = {b: frame_bench(b) for b in ("base", "new")}
def module_ms(build, name):
    row = bench[build].get(name)
    return row["real_time"] if row else None

print("\nStart-up (median seconds)       base     new")
print(f"  quorvel-render --help        {run('base.help'):6.3f}  {run('new.help'):6.3f}")
print(f"  one 8-bit frame, whole run   {run('base.one_frame'):6.3f}  {run('new.one_frame'):6.3f}")
for build in ("base", "new"):
    module = module_ms(build, "ModuleFrame/8bit_default/real_time")
    per_frame = run(f"{build}.frames.8.1") / frames
    print(f"  {build}: one-frame run less one steady frame of the tool: "
          f"{run(build + '.one_frame') - per_frame:.3f} s")

print(f"\nPer frame over {frames} frames, one thread (ms)")
print("  depth   tool base  tool new  ModuleFrame base/new  SceneFrame new  new/ModuleFrame  new/SceneFrame")
for depth, name in depths:
    tool_base = run(f"base.frames.{depth}.1") / frames * 1000
    tool_new = run(f"new.frames.{depth}.1") / frames * 1000
    module_base = module_ms("base", f"ModuleFrame/{name}_default/real_time")
    module_new = module_ms("new", f"ModuleFrame/{name}_default/real_time")
    scene_new = module_ms("new", f"SceneFrame/{name}/real_time")
    scene_text = f"{scene_new:8.1f}" if scene_new else "       -"
    ratio_scene = f"{tool_new / scene_new:6.2f}" if scene_new else "     -"
    print(f"  {name:6} {tool_base:9.1f} {tool_new:9.1f}  {module_base:9.1f} {module_new:9.1f}"
          f"  {scene_text}        {tool_new / module_new:6.2f}           {ratio_scene}")

print("\nFrames per second by host threads (speed-up over one thread)")
for depth, name in depths:
    for build in ("base", "new"):
        one = frames / run(f"{build}.frames.{depth}.1")
        cells = []
        for count in threads:
            fps = frames / run(f"{build}.frames.{depth}.{count}")
            cells.append(f"{count}: {fps:5.2f} ({fps / one:4.2f}x)")
        print(f"  {name:6} {build:4}  " + "   ".join(cells))

print("\nFirst image's size (bytes)        base       new")
for depth, name in depths:
    sizes = [int(open(os.path.join(folder, f"{b}.size.{depth}")).read()) for b in ("base", "new")]
    print(f"  {name:6}                   {sizes[0]:9d} {sizes[1]:9d}")

for build in ("base", "new"):
    phases = [r for r in bench[build].values() if r["run_name"].startswith("ModulePhases/")]
    for row in phases:
        print(f"\n{build}: {row['run_name'].split('/')[1]}, step by step (median ms per frame)")
        steps = sorted((k, v) for k, v in row.items() if k[:2].isdigit() or k.startswith("first "))
        for key, value in steps:
            print(f"  {key:45} {value:8.2f}")
EOF
