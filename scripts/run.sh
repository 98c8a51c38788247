#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it with the demo song.
# Any arguments replace the demo song (for example another MIDI file).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ $# -eq 0 ]; then
  set -- examples/demo.mid
fi
exec out/app/varnel-wrd-maker "$@"
