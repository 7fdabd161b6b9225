#!/usr/bin/env bash
# Renders the reference images of the example scenes again, after a change of the look that is
# meant. Run from the repository root after building the default preset. The references are
# at half the examples' size, which keeps the files small.
set -euo pipefail
tool=build/default/tools/quorvel-render
out=tests/examples/reference
mkdir -p "$out"
# The scene and the frame that the reference test compares (none: the scene's own time).
for entry in default_look: strips_wireframe: animation:12 noise_distortion:; do
    scene=${entry%%:*}
    frame=${entry#*:}
    for depth in 8 16 32; do
        extension=png
        if [ "$depth" = 32 ]; then extension=exr; fi
        "$tool" "examples/$scene.json" --depth "$depth" --scale 0.5 ${frame:+--frame "$frame"} \
            -o "$out/${scene}_${depth}.${extension}"
    done
done
