#!/usr/bin/env bash
# Walks through the clock station under a virtual display the way a newcomer
# would, starting it with the README's run command on the demo installation,
# and saves screenshots: the window, a clock-in confirmation, an unknown
# number, the period dialog and the time card report; then the keyboard's
# focus mark, the station asking for a PIN, a clock-in that points out a
# forgotten clock-out, and the station waiting while another program holds
# the database file (and the message when that lasts too long). Taken at
# 1366x768 and at 1920x1080 under a window manager (openbox), each size in a
# folder of its own, with the station where it opens. Needs xvfb-run,
# xdotool, ImageMagick's import, openbox and python3. ORVAN_BUILD_DIR is
# passed on to the run command; ORVAN_SCREEN_SIZES=1366x768 takes one size.
#
# The PIN option, a PIN for employee 1007 (2468) and an open record from
# yesterday for 1003 are put into the demo database for the walk-through and
# taken out again at the end, with the records the walk-through made.
#
#     bash scripts/clock-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
screen_sizes="1366x768 1920x1080"
window_manager=openbox
source "$root/scripts/screenshot-common.sh"
screens_begin "${1:-/tmp/orvan-screens}"
database="$root/demo/system/orvan_11.mdb"
kristin="(SELECT EmployeeID FROM Employee WHERE EmployeeNumber = 1007)"
anna="(SELECT EmployeeID FROM Employee WHERE EmployeeNumber = 1003)"

# Runs SQL on the demo database between two clock actions (the programs
# hold the file only while an action runs).
demo_sql() {
  python3 - "$database" "$1" <<'PY'
import sqlite3, sys
connection = sqlite3.connect(sys.argv[1], timeout=10, isolation_level=None)
for row in connection.execute(sys.argv[2]):
    print("|".join(str(value) for value in row))
PY
}

# The day count the database stores for a moment `days` days from today.
day_count() {
  python3 -c "import datetime as d; t=d.datetime.combine(d.date.today(), d.time($2)) + d.timedelta(days=$1); print((t - d.datetime(1899, 12, 30)).total_seconds() / 86400)"
}

start_run_command
restore_demo() {
  if [ -n "${first_new_record:-}" ]; then
    demo_sql "DELETE FROM TimeRecord WHERE TimeRecordID >= $first_new_record" || true
    demo_sql "DELETE FROM StationOption WHERE Name = 'RequirePin'" || true
    [ -n "$old_option" ] && demo_sql "INSERT INTO StationOption (Name, Value) VALUES ('RequirePin', '$old_option')" || true
    demo_sql "DELETE FROM EmployeePin WHERE EmployeeID = $kristin" || true
    [ -n "$old_pin" ] && demo_sql "INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES ($kristin, '$old_pin')" || true
    demo_sql "DELETE FROM StationLockout WHERE EmployeeID = $kristin" || true
  fi
  stop_run_command
}
trap restore_demo EXIT

win=$(find_window "Velmora - TimeClock")
# The manager's program starts beside the station, its login over it: the
# login is cancelled, which ends that program.
if login=$(timeout 20 xdotool search --sync --name "Orvan - Administrator - Login" | head -n 1) &&
  [ -n "$login" ]; then
  sleep 1
  shot 0-login-over-the-station
  xdotool windowactivate --sync "$login" 2>/dev/null || true
  xdotool key Escape
  sleep 0.5
fi
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool windowfocus --sync "$win" 2>/dev/null || true

# What the walk-through changes is undone at the end (restore_demo).
first_new_record=$(( $(demo_sql "SELECT coalesce(max(TimeRecordID), 0) FROM TimeRecord") + 1 ))
old_option=$(demo_sql "SELECT Value FROM StationOption WHERE Name = 'RequirePin'")
old_pin=$(demo_sql "SELECT PinHash FROM EmployeePin WHERE EmployeeID = $kristin")
shot 1-clock-window

# Clock-in for employee 1001: type the number, rest on the button, click.
xdotool mousemove --window "$win" 360 166 click 1
xdotool type --delay 80 "1001"
xdotool mousemove --window "$win" 120 300 sleep 0.3 mousemove --window "$win" 135 320 sleep 0.3 click 1
shot 2-clock-in-confirmation
xdotool key Return
sleep 0.5

# An unknown number.
xdotool mousemove --window "$win" 360 166 click 1
xdotool type --delay 80 "4242"
xdotool mousemove --window "$win" 345 300 sleep 0.3 mousemove --window "$win" 360 320 sleep 0.3 click 1
shot 3-employee-not-found
xdotool key Return
sleep 0.5

# Print: the period dialog, View, the time card report.
xdotool mousemove --window "$win" 360 166 click 1
xdotool type --delay 80 "1007"
xdotool mousemove --window "$win" 570 300 sleep 0.3 mousemove --window "$win" 585 320 sleep 0.3 click 1
dialog=$(find_window "Select a Pay Period")
# Step back one period so the card holds the demo's weeks of records, then
# View.
shot 4-period-dialog
xdotool mousemove --window "$dialog" 356 47 click 1
sleep 0.3
shot 5-period-stepped-back
xdotool mousemove --window "$dialog" 220 179 click 1
report=$(find_window "Time Card")
xdotool windowactivate --sync "$report" 2>/dev/null || true
shot 6-time-card-report
# Escape closes the report window; the station goes on.
xdotool key Escape
sleep 0.5
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool mousemove --window "$win" 700 120
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.3

# The keyboard: Tab from the number box to the clock-out button.
xdotool key Tab Tab
shot 7-keyboard-focus-on-clock-out
xdotool key Escape
xdotool mousemove --window "$win" 360 166 click 1
sleep 0.3

# With the PIN option on, 1007 (PIN 2468) is asked for the PIN after F1.
demo_sql "INSERT OR REPLACE INTO StationOption (Name, Value) VALUES ('RequirePin', '1')"
demo_sql "INSERT OR REPLACE INTO EmployeePin (EmployeeID, PinHash) VALUES ($kristin, '\$argon2id\$v=19\$m=65536,t=2,p=1\$9vPVnsrIDsh6zJ/SLJAChA\$a1asd4GA5qpsirGjuhXSNlW6K0CHWerShIQ4mmZ+jRk')"
xdotool type --delay 80 "1007"
xdotool key F1
sleep 0.3
xdotool type --delay 80 "24"
shot 8-pin-asked
xdotool type --delay 80 "68"
xdotool key Return
shot 9-pin-clock-in-confirmation
xdotool key Return
sleep 0.5
# A wrong PIN.
xdotool type --delay 80 "1007"
xdotool key Return
sleep 0.3
xdotool type --delay 80 "1111"
xdotool key Return
shot 10-wrong-pin
xdotool key Return
sleep 0.5
demo_sql "UPDATE StationOption SET Value = '0' WHERE Name = 'RequirePin'"

# 1003 left yesterday's clock-in open: Enter clocks in and says so.
demo_sql "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) VALUES ($anna, $(day_count -1 8,0), 0)"
xdotool type --delay 80 "1003"
xdotool key Return
shot 11-forgotten-clock-out
xdotool key Return
sleep 0.5

# Another program holds the database file for 9 seconds: the station waits
# (its clock running) and after its 5 s gives up with the busy message.
python3 - "$database" <<'PY' &
import sqlite3, sys, time
connection = sqlite3.connect(sys.argv[1], isolation_level=None)
connection.execute("BEGIN EXCLUSIVE")
connection.execute("UPDATE _System SET version = version")
time.sleep(9)
connection.execute("COMMIT")
PY
holder=$!
sleep 0.5
xdotool type --delay 80 "1001"
xdotool key F2
sleep 1.5
shot 12-waiting-for-the-database
sleep 4
shot 13-database-busy
xdotool key Return
wait "$holder"
sleep 0.5
shot 14-clock-window-after-the-wait
