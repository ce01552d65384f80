#!/usr/bin/env bash
# Walks through the manager's program under a virtual display with a window
# manager (openbox), the way a newcomer would, starting it with the README's
# run command on the demo installation, and saves screenshots at 1366x768
# and at 1920x1080, each size in a folder of its own: the login window over
# the clock station, the first-time login help, the main window on each of
# its tabs where it opens, a time card in the grid, the same maximised, the
# time card report over the window and the about box. The windows are left
# where the programs put them. Needs xvfb-run, xdotool, ImageMagick's import
# and openbox (installed when missing). ORVAN_BUILD_DIR is passed on to the
# run command; ORVAN_SCREEN_SIZES=1366x768 takes one size only.
#
#     bash scripts/admin-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
screen_sizes="1366x768 1920x1080"
window_manager=openbox
source "$root/scripts/screenshot-common.sh"
screens_begin "${1:-/tmp/orvan-admin-screens}"

start_run_command

# The clock station starts beside the manager's program: the login stays
# above it.
find_window "Velmora - TimeClock" > /dev/null
login=$(find_window "Orvan - Administrator - Login")
sleep 1
shot 1-login
xdotool windowfocus --sync "$login" 2>/dev/null || true

# Help is the last stop of the login window's tab order.
xdotool key Tab Tab Tab Tab space
help=$(find_window "First-Time Login Help")
xdotool windowactivate --sync "$help" 2>/dev/null || true
shot 2-login-help
xdotool key Return
sleep 0.5

# Back in the login window, the focus on Help: Tab goes round to the name.
xdotool windowfocus --sync "$login" 2>/dev/null || true
xdotool key Tab
xdotool type --delay 40 "administrator"
xdotool key Tab
xdotool type --delay 40 "renby742"
xdotool key Return

main=$(find_window "Velmora - Adminstrator")
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowfocus --sync "$main" 2>/dev/null || true
shot 3-timecards-tab

# The main window opens at one size on both screens, so its controls sit
# at fixed points of the window. Search for Anna, step back one period,
# generate her card, then the same maximised and restored, and the card's
# report over the window.
at() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 0.4; }
at 450 226 # search box
xdotool type --delay 60 "an"
shot 3a-timecards-search
xdotool key Down Return
at 101 238 # pay period <<
at 870 250 # Generate Timecard
shot 3b-timecards-generated
# Openbox's window menu (Alt+Space): Maximize, then Restore, its third
# entry once the window is maximised.
xdotool key alt+space
sleep 0.5
xdotool key x
sleep 1.2
shot 3c-timecards-maximised
xdotool key alt+space
sleep 0.5
xdotool key Down Down Down Return
sleep 1.2
shot 3d-timecards-restored
at 883 575 # Print Timecard
card=$(find_window "Employee Time Card")
shot 3e-time-card-report
xdotool windowactivate --sync "$card" 2>/dev/null || true
xdotool key Escape
sleep 0.5
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowfocus --sync "$main" 2>/dev/null || true

# The about box from the Help menu, closed with its OK button.
xdotool key alt+h
sleep 0.3
xdotool key a
about=$(find_window "About Orvan - Administrator")
shot 4-about
xdotool key Return
sleep 0.5

# The other tabs, one after the other.
xdotool windowfocus --sync "$main" 2>/dev/null || true
for name in reports-tab employees-tab company-tab options-tab; do
  xdotool key ctrl+Tab
  n=$((${n:-4} + 1))
  shot "$n-$name"
done

# File, Change Password...: the three boxes filled, then the window without
# the first-time password's notice bar. The demo gets its first-time password
# back afterwards, so the next run logs in as before.
xdotool key ctrl+Tab
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key alt+f
sleep 0.3
xdotool key p
change=$(find_window "Change Password")
xdotool windowactivate --sync "$change" 2>/dev/null || true
xdotool type --delay 40 "renby742"
xdotool key Tab
xdotool type --delay 40 "Sturdy-Pass-2026"
xdotool key Tab
xdotool type --delay 40 "Sturdy-Pass-2026"
shot 10-change-password
xdotool key Return
sleep 1
shot 11-password-changed
xdotool key Return
sleep 0.5
shot 12-without-notice

# Help, User's Guide: without a word processor the guide opens in the
# program's own window.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key alt+h
sleep 0.3
xdotool key u
if help=$(timeout 10 xdotool search --sync --name "User's Guide" | head -n 1); then
  xdotool windowmove "$help" 80 60 2>/dev/null || true
  sleep 0.5
  shot 13-help-window
fi
stop_run_command
sleep 1
"$root/demo/orvan-initdb" --reset-admin-password "$root/demo" > /dev/null
