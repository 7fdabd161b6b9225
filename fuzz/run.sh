#!/usr/bin/env bash
# Builds the fuzz targets (clang, address and undefined-behaviour sanitizers) and runs each for
# the given number of seconds (default 60), starting from a few seeds written here.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake --preset fuzz
cmake --build --preset fuzz --target flat_ramp_fuzz ramp_text_fuzz
out=build/fuzz/fuzz
mkdir -p "$out/corpus/flat" "$out/corpus/text"
# The default ramp as saved (mode 0, sin, {0: 1, 1: 1}) and as printed.
printf '\0\0\0\0\0\0\0\0\2\0\0\0\0\0\0\0\0\0\200\77\0\0\200\77\0\0\200\77' >"$out/corpus/flat/default"
printf 'Ramp all  sin  t 0 v 1 t 1 v 1' >"$out/corpus/text/default"
printf 'Ramp withoutSin  bezier  t 0.25 v 1e-05 t 0.5 v -inf' >"$out/corpus/text/bezier"
"$out/flat_ramp_fuzz" -max_total_time="$seconds" -print_final_stats=1 "$out/corpus/flat"
"$out/ramp_text_fuzz" -max_total_time="$seconds" -print_final_stats=1 "$out/corpus/text"
