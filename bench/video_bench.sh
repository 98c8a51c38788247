#!/bin/sh
# Times vwrd-video on the demo song (examples/demo.mid, about 28 seconds) against the song's own
# length, with the peak memory, five runs; the median is what counts.
# Usage: bench/video_bench.sh [BUILD_DIR] [RUNS]   (default out, 5)
set -eu
build=${1:-out}
runs=${2:-5}
[ -x /usr/bin/time ] || { echo "video_bench.sh: /usr/bin/time is not installed" >&2; exit 2; }
cmake --build "$build" --target vwrd-video >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$(dirname "$0")/../examples/"demo.mid "$(dirname "$0")/../examples/"*.bmp \
  "$(dirname "$0")/../examples/"demo.vwm "$work/"

song_seconds=27.8  # the song to its end, as vwrd-video reports it
i=0
while [ $i -lt "$runs" ]; do
  /usr/bin/time -f "%e %U %M" -o "$work/time" "$build/tools/vwrd-video" "$work/demo.mid" \
    2>/dev/null
  read -r wall user kb <"$work/time"
  echo "run $((i + 1)): $wall s wall ($user s user), ratio $(awk "BEGIN { printf \"%.2f\", $wall / $song_seconds }"), peak $((kb / 1024)) MiB"
  i=$((i + 1))
done
