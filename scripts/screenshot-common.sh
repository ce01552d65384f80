# Shared by the screenshot walk-throughs (sourced, not run): a virtual
# display, the README's run command in the background, and taking pictures.
#
#     source "$root/scripts/screenshot-common.sh"
#     screens_begin "$out" "$@"   # re-runs the calling script under Xvfb
#     start_run_command           # the programs, ended when the script ends
#     shot 1-name                 # the whole screen into $out/1-name.png

# Without a display: install the tools and run the calling script again
# under a 1280x1024 virtual display.
screens_begin() {
  out="$1"
  mkdir -p "$out"
  if [ -z "${DISPLAY:-}" ]; then
    bash "$root/scripts/deps.sh" xdotool imagemagick
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$out"
  fi
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
}
