# Shared by the screenshot walk-throughs (sourced, not run): a virtual
# display, the README's run command in the background, and taking pictures.
#
#     screen_sizes="1366x768 1920x1080"  # optional, before screens_begin
#     window_manager=openbox             # optional: openbox or none
#     source "$root/scripts/screenshot-common.sh"
#     screens_begin "$out" "$@"   # re-runs the calling script under Xvfb
#     start_run_command           # the programs, ended when the script ends
#     shot 1-name                 # the whole screen into $out/1-name.png
#     win=$(find_window "Title")  # a window's id, once it is there
#
# ORVAN_SCREEN_SIZES overrides the script's screen sizes, for example
# ORVAN_SCREEN_SIZES=1366x768.

# Without a display: install the tools and run the calling script again
# under a virtual display of each screen size (1280x1024 unless the script
# says otherwise), the pictures of each size in a folder of its own when
# there are several. With window_manager=openbox the windows are framed,
# placed and stacked by Debian's openbox, as on a desktop.
screens_begin() {
  out="$1"
  mkdir -p "$out"
  if [ -z "${DISPLAY:-}" ]; then
    local sizes="${ORVAN_SCREEN_SIZES:-${screen_sizes:-1280x1024}}" size folder
    local tools=(xdotool imagemagick)
    [ "${window_manager:-none}" = openbox ] && tools+=(openbox)
    bash "$root/scripts/deps.sh" "${tools[@]}"
    for size in $sizes; do
      folder="$out"
      [ "$sizes" = "$size" ] || folder="$out/$size"
      mkdir -p "$folder"
      ORVAN_OWN_DISPLAY=1 xvfb-run -a -s "-screen 0 ${size}x24" bash "$0" "$folder"
    done
    exit 0
  fi
  if [ "${ORVAN_OWN_DISPLAY:-}" = 1 ] && [ "${window_manager:-none}" = openbox ]; then
    openbox --sm-disable > "$out/openbox.log" 2>&1 &
    window_manager_pid=$!
    sleep 1
  fi
}

# The id of the first window named NAME, waiting for it. xdotool's own
# --sync fails when another window closes while it looks.
find_window() {
  local found=""
  for _ in $(seq 1 100); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$found" ] && break
    sleep 0.3
  done
  echo "$found"
}

shot() { sleep 0.8; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }

# Starts the run command; its programs are ended when the calling script ends.
start_run_command() {
  bash "$root/scripts/run.sh" > "$out/run.log" 2>&1 &
  runner=$!
  trap stop_run_command EXIT
}

stop_run_command() {
  # The run command's own programs, by the process ids it started.
  for pid in $(pgrep -P "$runner" 2>/dev/null || true); do kill "$pid" 2>/dev/null || true; done
  kill "$runner" 2>/dev/null || true
  if [ -n "${window_manager_pid:-}" ]; then
    kill "$window_manager_pid" 2>/dev/null || true
  fi
}
