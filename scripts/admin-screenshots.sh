#!/usr/bin/env bash
# Walks through the manager's program under a virtual display the way a
# newcomer would, starting it with the README's run command on the demo
# installation, and saves screenshots: the login window, the first-time
# login help, the main window on each of its tabs and the about box. Needs
# xvfb-run, xdotool and ImageMagick's import. ORVAN_BUILD_DIR is passed on
# to the run command.
#
#     bash scripts/admin-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/screenshot-common.sh"
screens_begin "${1:-/tmp/orvan-admin-screens}"

start_run_command

# The clock station starts beside the manager's program: move it aside.
clock=$(xdotool search --sync --name "Velmora - TimeClock" | head -n 1)
xdotool windowmove "$clock" 620 520

login=$(xdotool search --sync --name "Orvan - Administrator - Login" | head -n 1)
xdotool windowmove "$login" 60 60
xdotool windowactivate --sync "$login" 2>/dev/null || true
xdotool windowfocus --sync "$login" 2>/dev/null || true
shot 1-login

# Help is the last stop of the login window's tab order.
xdotool key Tab Tab Tab Tab space
help=$(xdotool search --sync --name "First-Time Login Help" | head -n 1)
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

main=$(xdotool search --sync --name "Velmora - Adminstrator" | head -n 1)
xdotool windowmove "$main" 40 40
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowfocus --sync "$main" 2>/dev/null || true
shot 3-timecards-tab

# The about box from the Help menu, closed with its OK button.
xdotool key alt+h
sleep 0.3
xdotool key a
about=$(xdotool search --sync --name "About Orvan - Administrator" | head -n 1)
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
change=$(xdotool search --sync --name "Change Password" | head -n 1)
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
