#!/usr/bin/env bash
# Walks through the timecards page of the manager's program under a virtual
# display, started with the README's run command on the demo installation:
# the previous pay period's card generated in the grid, the time record
# editor on its first record and the auto fill window. Needs xvfb-run,
# xdotool and ImageMagick's import. The main window is placed at 40,40 so
# the page's buttons sit at fixed points of the 1280x1024 screen.
#
#     bash scripts/timecards-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/screenshot-common.sh"
screens_begin "${1:-/tmp/orvan-timecards-screens}"
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }

start_run_command

clock=$(xdotool search --sync --name "Velmora - TimeClock" | head -n 1)
xdotool windowmove "$clock" 700 600

login=$(xdotool search --sync --name "Orvan - Administrator - Login" | head -n 1)
xdotool windowactivate --sync "$login" 2>/dev/null || true
xdotool windowfocus --sync "$login" 2>/dev/null || true
xdotool type --delay 40 "administrator"
xdotool key Tab
xdotool type --delay 40 "renby742"
xdotool key Return

main=$(xdotool search --sync --name "Velmora - Adminstrator" | head -n 1)
xdotool windowmove "$main" 40 40
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.8

# The demo records end today: step back one pay period, then generate.
click 142 247 # pay period <<
click 671 258 # Generate Timecard
shot 1-timecards-generated

# The editor on the first record, left with Cancel (Escape).
click 125 308 # first row of the grid
click 197 533 # Edit Record
editor=$(xdotool search --sync --name "Edit Time Record" | head -n 1)
xdotool windowmove "$editor" 120 160 2>/dev/null || true
shot 2-time-record-editor
xdotool key Escape
sleep 0.5

click 596 533 # Auto Fill
fill=$(xdotool search --sync --name "AutoFill Time Period" | head -n 1)
xdotool windowmove "$fill" 120 160 2>/dev/null || true
shot 3-auto-fill
xdotool key Escape
