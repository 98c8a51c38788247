#!/usr/bin/env bash
# Configures and builds into out/. "run" (the default) needs only what running needs: a new
# out/ is configured without the tests and benchmarks. "test" builds everything.
# Usage: scripts/build.sh [run|test]
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-run}
bash scripts/setup.sh "$mode"
options=()
if [ "$mode" = test ]; then
  options=(-DVWRD_TESTS=ON -DVWRD_BENCH=ON)
elif [ ! -f out/CMakeCache.txt ]; then
  options=(-DVWRD_TESTS=OFF -DVWRD_BENCH=OFF)
fi
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build out -j"$(nproc)"
