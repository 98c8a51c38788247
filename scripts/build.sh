#!/usr/bin/env bash
# Configures and builds the program, the tools and the tests into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out -j"$(nproc)"
