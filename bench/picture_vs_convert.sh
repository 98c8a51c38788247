#!/usr/bin/env bash
# Compares the picture work of one build step (load, free-index scan and PNG conversion of a
# 640 x 480 8-bit BMP) with ImageMagick's `convert in.bmp out.png` on the same picture.
# Usage: bench/picture_vs_convert.sh [BUILD_DIR] (default out; it must have been configured).
# CONVERT=/path/to/convert picks another convert; RUNS sets the convert runs (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-out}
convert=${CONVERT:-convert}
runs=${RUNS:-20}
cmake --build "$build" --target picture_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A picture with smooth areas and detail, quantized to 256 colours, stored uncompressed.
"$convert" -size 640x480 -seed 1 plasma:fractal -colors 256 -compress None "BMP3:$work/in.bmp"

echo "== ours (Google Benchmark, VWRD_BENCH_BMP=$work/in.bmp)"
VWRD_BENCH_BMP="$work/in.bmp" "$build/bench/picture_bench" --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true 2>/dev/null

echo "== $convert in.bmp out.png"
if command -v hyperfine >/dev/null; then
  hyperfine --warmup 2 --runs "$runs" "$convert $work/in.bmp $work/out.png"
else
  "$convert" "$work/in.bmp" "$work/out.png"  # warm-up
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do "$convert" "$work/in.bmp" "$work/out.png"; done
  end=$(date +%s%N)
  echo "mean of $runs runs: $(((end - start) / runs / 1000)) us per conversion (wall clock)"
fi
