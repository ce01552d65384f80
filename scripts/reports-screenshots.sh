#!/usr/bin/env bash
# Walks through the manager's reports under a virtual display, starting the
# programs with the README's run command on the demo installation, and saves
# screenshots: the reports tab with the accountant's review chosen and some
# employees selected, the review's report window, and a time card report
# window. Needs xvfb-run, xdotool and ImageMagick's import (installed through
# scripts/deps.sh when missing). ORVAN_BUILD_DIR is passed on to the run
# command.
#
#     bash scripts/reports-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/screenshot-common.sh"
screens_begin "${1:-/tmp/orvan-report-screens}"
# A window's own picture, without the rest of the screen.
shot_window() { sleep 0.8; import -window "$2" "$out/$1.png"; echo "saved $out/$1.png"; }

start_run_command

clock=$(xdotool search --sync --name "Velmora - TimeClock" | head -n 1)
# Without a window manager nothing is minimized or raised: move the clock
# station out of the way.
xdotool windowmove "$clock" 1300 0

login=$(xdotool search --sync --name "Orvan - Administrator - Login" | head -n 1)
xdotool windowactivate --sync "$login" 2>/dev/null || true
xdotool windowfocus --sync "$login" 2>/dev/null || true
# The first-time login help may open over the login window: close it.
sleep 1
if help=$(xdotool search --name "First-Time Login Help" 2>/dev/null | head -n 1) && [ -n "$help" ]; then
  xdotool windowactivate --sync "$help" 2>/dev/null || true
  xdotool key Return
  sleep 0.5
  xdotool windowfocus --sync "$login" 2>/dev/null || true
fi
xdotool type --delay 40 "administrator"
xdotool key Tab
xdotool type --delay 40 "renby742"
xdotool key Return

main=$(xdotool search --sync --name "Velmora - Adminstrator" | head -n 1)
xdotool windowmove "$main" 0 0
xdotool windowsize "$main" 760 520
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowfocus --sync "$main" 2>/dev/null || true
sleep 0.5

# The reports tab: second tab of the strip.
xdotool key ctrl+Tab
sleep 0.5

# The accountant's review: pick it from the report list (the second entry),
# select three employees with a click each and generate.
xdotool mousemove --window "$main" 200 142 click 1
sleep 0.5
xdotool key Down Return
sleep 0.3
for y in 140 174 191; do
  xdotool mousemove --window "$main" 440 "$y" click 1
  sleep 0.2
done
xdotool mousemove --window "$main" 600 400
shot_window 1-reports-tab "$main"
xdotool mousemove --window "$main" 315 173 click 1
review=$(xdotool search --sync --name "Accountant's Review" | head -n 1)
xdotool windowmove "$review" 40 60
xdotool windowsize "$review" 760 620
xdotool windowactivate --sync "$review" 2>/dev/null || true
shot_window 2-review-window "$review"
shot 3-review-over-main-window

# Close the review (there is no window manager to bring the main window to
# the front), then a time card for each of the three employees: back to
# Timecard (the first entry, which puts the default period back) and
# generate.
xdotool mousemove --window "$review" 709 601 click 1
sleep 0.5
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 200 142 click 1
sleep 0.5
xdotool key Up Return
sleep 0.3
xdotool mousemove --window "$main" 315 173 click 1
card=$(xdotool search --sync --name "Employee Time Card" | head -n 1)
sleep 1
# One window per employee: keep the first in view, the others aside.
for other in $(xdotool search --name "Employee Time Card"); do
  [ "$other" = "$card" ] || xdotool windowmove "$other" 1300 0
done
xdotool windowmove "$card" 80 100
xdotool windowsize "$card" 760 620
xdotool windowactivate --sync "$card" 2>/dev/null || true
shot_window 4-time-card-window "$card"
