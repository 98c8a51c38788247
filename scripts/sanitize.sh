#!/usr/bin/env bash
# Builds the core libraries, tools and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in out/sanitize and runs those tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
cmake -S . -B out/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVWRD_SANITIZE=ON -DVWRD_GUI=OFF \
  -DVWRD_BENCH=OFF >/dev/null
cmake --build out/sanitize -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir out/sanitize --output-on-failure -j"$(nproc)" -L core
