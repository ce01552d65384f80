#!/usr/bin/env bash
# Builds Orvan and starts it on a demo installation in ./demo (ignored by
# git): installs missing packages, builds the programs, installs them into
# demo/ with `cmake --install` (programs and libTempix side by side), creates
# the demo database there with the installed orvan-initdb --demo on the first
# run (later runs keep it) and starts OrvanClock there (and OrvanAdmin beside
# it when that program is part of the build).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVAN_BUILD_DIR:-$root/build}"
demo="$root/demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "error: no display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the Orvan windows" >&2
  echo "cannot be shown. Run this from a desktop session, or under a virtual display:" >&2
  echo "    xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi

bash "$root/scripts/deps.sh"

cmake -S "$root" -B "$build" -G Ninja >/dev/null
targets=(OrvanClock orvan-initdb Tempix)
have_admin=0
# The whole list is read first: grep -q would stop reading at the first
# match and fail the build tool's output with SIGPIPE under pipefail.
target_list="$(cmake --build "$build" --target help)"
if grep -q '^OrvanAdmin:' <<<"$target_list"; then
  targets+=(OrvanAdmin)
  have_admin=1
fi
cmake --build "$build" --parallel 2 --target "${targets[@]}"

# The programs find system/, reports/ and documentation/ below the folder
# they run from, and libTempix beside them.
cmake --install "$build" --prefix "$demo" >/dev/null

if [ ! -f "$demo/system/orvan_11.mdb" ]; then
  echo "Creating the demo installation in $demo"
  "$demo/orvan-initdb" "$demo" --demo
fi
# A demo made before the guide was shipped gets the installed guide too.
if [ -f "$demo/OrvanAdminUserGuide.doc" ] && [ ! -f "$demo/documentation/OrvanAdminUserGuide.doc" ]; then
  mkdir -p "$demo/documentation"
  cp "$demo/OrvanAdminUserGuide.doc" "$demo/documentation/"
fi
# And the HTML guide the manager's program falls back on.
if [ -f "$demo/OrvanAdminUserGuide.html" ] && [ ! -f "$demo/documentation/OrvanAdminUserGuide.html" ]; then
  mkdir -p "$demo/documentation"
  cp "$demo"/OrvanAdminUserGuide.html "$demo"/OrvanAdminUserGuide-*.png "$demo/documentation/"
fi

cd "$demo"
echo "Starting OrvanClock in $demo"
./OrvanClock &
clock_pid=$!
admin_pid=""
trap 'kill $clock_pid $admin_pid 2>/dev/null || true' EXIT INT TERM
if [ "$have_admin" -eq 1 ]; then
  # Once the station's window is up, so that the login opens over it with
  # the keyboard.
  sleep 1
  ./OrvanAdmin &
  admin_pid=$!
fi
status=0
wait "$clock_pid" || status=$?
clock_pid=""
if [ -n "$admin_pid" ]; then
  echo "OrvanClock has ended; OrvanAdmin keeps running until it is closed."
  wait "$admin_pid" || true
  admin_pid=""
fi
exit "$status"
