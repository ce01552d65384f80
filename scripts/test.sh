#!/usr/bin/env bash
# Builds everything and runs every test through CTest.
#
# ORVAN_WARNINGS_AS_ERRORS=ON in the environment makes every compiler warning
# an error (CI does this); ORVAN_BUILD_DIR picks another build folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/deps.sh"
build="${ORVAN_BUILD_DIR:-$root/build}"
options=(-DORVAN_WITH_TESTS=ON -DORVAN_WITH_BENCH=ON)
if [ -n "${ORVAN_WARNINGS_AS_ERRORS:-}" ]; then
  options+=("-DORVAN_WARNINGS_AS_ERRORS=$ORVAN_WARNINGS_AS_ERRORS")
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" --parallel 2
cd "$build"
ctest --output-on-failure --parallel 2 --timeout 600
