#!/usr/bin/env bash
# Builds everything and runs every test through CTest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/deps.sh"
build="${ORVAN_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DORVAN_WITH_TESTS=ON -DORVAN_WITH_BENCH=ON
cmake --build "$build" --parallel 2
cd "$build"
ctest --output-on-failure --parallel 2 --timeout 600
