#!/usr/bin/env bash
# Regenerates the clock window's button pictures in resources/clock/ (they are
# committed; run this only after changing the drawing).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC -o "$work/make_pictures" "$root/scripts/clock-pictures/make_pictures.cpp" \
  $(pkg-config --cflags --libs Qt6Gui)
mkdir -p "$root/resources/clock"
QT_QPA_PLATFORM=offscreen "$work/make_pictures" "$root/resources/clock"
ls -l "$root/resources/clock"
