#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test, then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
ctest --test-dir out --output-on-failure -j"$(nproc)"
bash scripts/sanitize.sh
