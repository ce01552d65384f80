#!/usr/bin/env bash
# Walks through the timecards page of the manager's program under a virtual
# display, started with the README's run command on the demo installation:
# the previous pay period's card generated in the grid, the time record
# editor on its first record and the auto fill window. Needs xvfb-run,
# xdotool and ImageMagick's import. The main window opens at one size, so
# the page's buttons sit at fixed points of the window.
#
#     bash scripts/timecards-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/screenshot-common.sh"
screens_begin "${1:-/tmp/orvan-timecards-screens}"
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 0.5; }

start_run_command

clock=$(find_window "Velmora - TimeClock")
xdotool windowmove "$clock" 700 600

login=$(find_window "Orvan - Administrator - Login")
xdotool windowactivate --sync "$login" 2>/dev/null || true
xdotool windowfocus --sync "$login" 2>/dev/null || true
xdotool type --delay 40 "administrator"
xdotool key Tab
xdotool type --delay 40 "renby742"
xdotool key Return

main=$(find_window "Velmora - Adminstrator")
xdotool windowmove "$main" 40 40
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.8

# The demo records end today: step back one pay period, then generate.
click 101 238 # pay period <<
click 870 250 # Generate Timecard
shot 1-timecards-generated

# The editor on the first record, left with Cancel (Escape).
click 100 302 # first row of the grid
click 156 575 # Edit Record
editor=$(find_window "Edit Time Record")
xdotool windowmove "$editor" 120 160 2>/dev/null || true
shot 2-time-record-editor
xdotool key Escape
sleep 0.5

click 795 575 # Auto Fill
fill=$(find_window "AutoFill Time Period")
xdotool windowmove "$fill" 120 160 2>/dev/null || true
shot 3-auto-fill
xdotool key Escape
