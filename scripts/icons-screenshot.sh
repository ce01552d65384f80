#!/usr/bin/env bash
# Renders the menu entries' icons from packaging/icons/*.svg with
# rsvg-convert at every packaged size and puts them on one picture with
# ImageMagick's montage, once on a light and once on a dark background, each
# row under its entry's name (default /tmp/orvan-icons.png).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-/tmp/orvan-icons.png}"
ORVAN_TEST_SERVER=off bash "$root/scripts/deps.sh" librsvg2-bin imagemagick
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sizes=(256 128 64 48 32 24 22 16)
rows=()
for background in '#f2f2f2' '#2b2b2b'; do
  for app in ClockStation Manager; do
    name="$(sed -n 's/^Name=//p' "$root/packaging/org.orvan.$app.desktop")"
    tiles=()
    for size in "${sizes[@]}"; do
      rsvg-convert --width "$size" --height "$size" --output "$work/$app-$size.png" \
        "$root/packaging/icons/org.orvan.$app.svg"
      tiles+=("$work/$app-$size.png")
    done
    row="$work/row-${#rows[@]}.png"
    fill="$([ "$background" = '#f2f2f2' ] && echo black || echo white)"
    montage -background "$background" -fill "$fill" -title "$name" -pointsize 14 \
      -geometry '+10+10' -gravity center -tile "${#sizes[@]}x1" "${tiles[@]}" "$row"
    rows+=("$row")
  done
done
montage -background '#808080' -geometry '+0+4' -tile 1x "${rows[@]}" "$out"
echo "picture: $out"
