#!/usr/bin/env bash
# Walks through the clock station under a virtual display the way a newcomer
# would, starting it with the README's run command, and saves screenshots:
# the window, a clock-in confirmation, the period dialog and the time card
# report. Needs xvfb-run, xdotool and ImageMagick's import.
#
#     bash scripts/clock-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-/tmp/orvan-screens}"
mkdir -p "$out"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" "$out"
fi

shot() { sleep 0.7; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }

bash "$root/scripts/run.sh" > "$out/run.log" 2>&1 &
runner=$!
trap 'pkill -f "$root/demo/OrvanClock" 2>/dev/null || true; kill $runner 2>/dev/null || true' EXIT

win=$(xdotool search --sync --name "Velmora - TimeClock" | head -n 1)
xdotool windowmove "$win" 40 40
xdotool windowactivate --sync "$win" 2>/dev/null || true
shot 1-clock-window

# Clock-in for employee 1001: type the number, rest on the button, click.
xdotool mousemove --window "$win" 360 170 click 1
xdotool type --delay 80 "1001"
xdotool mousemove --window "$win" 120 300 sleep 0.3 mousemove --window "$win" 135 320 sleep 0.3 click 1
shot 2-clock-in-confirmation
xdotool key Return
sleep 0.5

# An unknown number.
xdotool mousemove --window "$win" 360 170 click 1
xdotool type --delay 80 "4242"
xdotool mousemove --window "$win" 345 300 sleep 0.3 mousemove --window "$win" 360 320 sleep 0.3 click 1
shot 3-employee-not-found
xdotool key Return
sleep 0.5

# Print: the period dialog, View, the time card report.
xdotool mousemove --window "$win" 360 170 click 1
xdotool type --delay 80 "1007"
xdotool mousemove --window "$win" 570 300 sleep 0.3 mousemove --window "$win" 585 320 sleep 0.3 click 1
dialog=$(xdotool search --sync --name "Select a Pay Period" | head -n 1)
# Step back one period so the card holds the demo's four weeks of records,
# then View.
shot 4-period-dialog
xdotool mousemove --window "$dialog" 356 47 click 1
sleep 0.3
shot 5-period-stepped-back
xdotool mousemove --window "$dialog" 220 179 click 1
report=$(xdotool search --sync --name "Time Card" | head -n 1)
xdotool windowactivate --sync "$report" 2>/dev/null || true
shot 6-time-card-report
