#!/usr/bin/env bash
# Builds the Tempix tests and grabs a picture of a form holding a date box and
# a time box under Xvfb (default /tmp/tempix.png).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-tempix}"
out="${1:-/tmp/tempix.png}"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target test_tempix --parallel 2
TEMPIX_SCREENSHOT="$out" TEMPIX_PAGE_SCREENSHOT="${out%.png}-page.png" \
  QT_QPA_PLATFORM=xcb xvfb-run -a \
  "$build/bin/test_tempix" --gtest_filter='TempixLook.*'
echo "pictures: $out ${out%.png}-page.png"
