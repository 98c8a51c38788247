#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into out/fuzz and runs each for SECONDS seconds
# (default 60), starting from the saved inputs in tests/data/fuzz/<target>.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/setup.sh test
CC=clang CXX=clang++ cmake -S . -B out/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVWRD_FUZZ=ON \
  -DVWRD_GUI=OFF -DVWRD_TESTS=ON -DVWRD_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
cmake --build out/fuzz -j"$(nproc)" --target "${targets[@]}"
for t in "${targets[@]}"; do
  corpus=out/fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=tests/data/fuzz/$t
  [ -d "$seeds" ] || seeds=
  echo "fuzz: $t for ${seconds}s"
  out/fuzz/tests/fuzz/$t -max_total_time="$seconds" -print_final_stats=1 "$corpus" $seeds 2>&1 |
    tail -n 12
done
