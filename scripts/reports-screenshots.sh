#!/usr/bin/env bash
# Walks through the manager's reports under a virtual display, starting the
# programs with the README's run command on the demo installation, and saves
# screenshots: the reports tab with the accountant's review chosen and some
# employees selected, the review's report window, a time card report window
# at the size it opens with, and the missing clock-outs report (two forgotten
# clock-outs are planted in the demo database for it and taken out again at
# the end). Needs xvfb-run, xdotool and ImageMagick's import (installed through
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

# Two clock-ins of earlier days that were never clocked out, added once the
# run command has made the demo database and removed when the script ends.
db="$root/demo/system/orvan_11.mdb"
planted=""
remove_planted() {
  if [ -n "$planted" ]; then
    sqlite3 -cmd ".timeout 10000" "$db" "DELETE FROM TimeRecord WHERE TimeRecordID IN ($planted);" || true
  fi
}
trap 'remove_planted; stop_run_command' EXIT
for _ in $(seq 1 600); do [ -f "$db" ] && break; sleep 1; done
plant() { # employee number, days ago, minutes after midnight
  sqlite3 -cmd ".timeout 10000" "$db" \
    "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime)
       SELECT EmployeeID, julianday(date('now', 'localtime', '-$2 days')) - julianday('1899-12-30')
              + $3 / 1440.0, 0 FROM Employee WHERE EmployeeNumber = $1;
     SELECT last_insert_rowid();"
}
planted="$(plant 1004 2 358),$(plant 1006 3 1318)"

clock=$(find_window "Velmora - TimeClock")
# Without a window manager nothing is minimized or raised: move the clock
# station out of the way.
xdotool windowmove "$clock" 1300 0

login=$(find_window "Orvan - Administrator - Login")
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

main=$(find_window "Velmora - Adminstrator")
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
xdotool mousemove --window "$main" 155 172 click 1
sleep 0.5
xdotool key Down Return
sleep 0.3
for y in 169 203 220; do
  xdotool mousemove --window "$main" 400 "$y" click 1
  sleep 0.2
done
xdotool mousemove --window "$main" 600 400
shot_window 1-reports-tab "$main"
xdotool mousemove --window "$main" 215 203 click 1
review=$(find_window "Accountant's Review")
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
xdotool mousemove --window "$main" 155 172 click 1
sleep 0.5
xdotool key Up Return
sleep 0.3
xdotool mousemove --window "$main" 215 203 click 1
card=$(find_window "Employee Time Card")
sleep 1
# One window per employee: keep the first in view, the others aside.
for other in $(xdotool search --name "Employee Time Card"); do
  [ "$other" = "$card" ] || xdotool windowmove "$other" 1300 0
done
# As it opens: the whole card, totals and signatures without scrolling.
xdotool windowmove "$card" 80 100
xdotool windowactivate --sync "$card" 2>/dev/null || true
shot_window 4-time-card-window "$card"

# The time card aside, then the missing clock-outs report: the entry before
# the last (the audit trail) of the report list.
xdotool windowmove "$card" 1300 0
sleep 0.5
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 155 172 click 1
sleep 0.5
xdotool key End Up Return
sleep 0.3
shot_window 5-reports-tab-missing-clock-outs "$main"
xdotool mousemove --window "$main" 215 203 click 1
missing=$(find_window "Missing Clock-Outs")
xdotool windowmove "$missing" 60 80
xdotool windowactivate --sync "$missing" 2>/dev/null || true
shot_window 6-missing-clock-outs-window "$missing"
