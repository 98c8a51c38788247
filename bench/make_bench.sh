#!/bin/sh
# Times a Make of 1024 events over 64 distinct 640 x 480 pictures (from scratch and with every
# PNG up to date) beside ImageMagick's convert turning the same 64 BMP files into PNG files.
# Usage: bench/make_bench.sh [BUILD_DIR]   (default out/bench; the make_bench target is built)
set -eu
build=${1:-out/bench}
convert=/usr/bin/convert
[ -x "$convert" ] || { echo "make_bench.sh: ImageMagick's convert is not installed" >&2; exit 2; }

cmake --build "$build" --target make_bench >/dev/null 2>&1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The pictures: ImageMagick's plasma fractal reduced to 256 colours, stored as 8-bit BMP files.
i=0
while [ $i -lt 64 ]; do
  name=$(printf 'pic%02d' $i)
  "$convert" -size 640x480 -seed $i plasma:fractal -colors 256 -type Palette \
    -compress None "BMP3:$work/$name.bmp"
  i=$((i + 1))
done

# Wall and CPU time of the 64 conversions (one convert process per picture, as a user would).
cat >"$work/convert_all.sh" <<SCRIPT
for bmp in "$work"/*.bmp; do "$convert" "\$bmp" "\${bmp%.bmp}.png"; done
SCRIPT
if [ -x /usr/bin/time ]; then
  /usr/bin/time -f "ImageMagick convert, 64 pictures: %e s wall, %U s user + %S s system" \
    sh "$work/convert_all.sh"
else
  start=$(date +%s%N)
  sh "$work/convert_all.sh"
  echo "ImageMagick convert, 64 pictures: $(( ($(date +%s%N) - start) / 1000000 )) ms wall"
fi
rm -f "$work"/*.png

VWRD_BENCH_BMPS=$work "$build/bench/make_bench"
