#!/usr/bin/env bash
# The installed program folder works wherever it is moved: installs the build
# into a scratch prefix, moves the folder somewhere else (a name with a
# blank), checks that it is flat and that every program and library finds
# its libraries from there ($ORIGIN run path, nothing "not found"), makes an
# installation with the moved orvan-initdb, then starts each moved window
# program offscreen long enough to see it loaded and running, and ends it.
#
#     install_test.sh CMAKE BUILD_DIR INITDB [PROGRAM...] -- LIBRARY...
set -euo pipefail
cmake="$1"
build="$2"
initdb="$3"
shift 3
programs=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  programs+=("$1")
  shift
done
[ $# -gt 0 ] && shift
libraries=("$@")

work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$work/staged" > "$work/install.log" ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }
mkdir -p "$work/elsewhere"
folder="$work/elsewhere/Orvan Clock"
mv "$work/staged" "$folder"
echo "installed and moved to $folder:"
ls -l "$folder"

# Flat: programs and libraries side by side, nothing below them yet.
if [ -n "$(find "$folder" -mindepth 2 -print -quit)" ]; then
  find "$folder" >&2
  fail "the program folder is not flat"
fi

for file in "$initdb" "${programs[@]}" "${libraries[@]}"; do
  [ -f "$folder/$file" ] || fail "$file was not installed"
done

# Every program finds its libraries through $ORIGIN alone.
for file in "$initdb" "${programs[@]}"; do
  runpath="$(readelf -d "$folder/$file" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]/\2/p')"
  [ "$runpath" = '$ORIGIN' ] || fail "$file has run path '$runpath', not \$ORIGIN"
done
for file in "$initdb" "${programs[@]}" "${libraries[@]}"; do
  ldd "$folder/$file" > "$work/ldd.txt" 2>&1 || { cat "$work/ldd.txt" >&2; fail "ldd $file failed"; }
  if grep -q "not found" "$work/ldd.txt"; then
    cat "$work/ldd.txt" >&2
    fail "$file misses a library"
  fi
  # A program that uses libTempix takes the one in its own folder.
  if grep -q "libTempix" "$work/ldd.txt" && ! grep -q "=> $folder/libTempix" "$work/ldd.txt"; then
    cat "$work/ldd.txt" >&2
    fail "$file does not take libTempix from its own folder"
  fi
done

# The moved initialiser makes an installation in its own folder, private
# to the owner and the group even under a umask that gives everything away.
(umask 000 && "$folder/$initdb" "$folder" --demo) > "$work/initdb.log" ||
  { cat "$work/initdb.log" >&2; fail "$initdb failed from the moved folder"; }
for made in system/orvan_11.mdb system/orvan_11.cfg reports documentation; do
  [ -e "$folder/$made" ] || fail "$initdb did not make $made"
done
for made in system reports; do
  mode="$(stat -c %a "$folder/$made")"
  [ "$mode" = 770 ] || fail "$made has mode $mode, not 770"
done
for made in system/orvan_11.mdb system/orvan_11.cfg; do
  mode="$(stat -c %a "$folder/$made")"
  [ "$mode" = 660 ] || fail "$made has mode $mode, not 660"
done

# Each window program starts from the moved folder (run from elsewhere, so it
# finds its files from its own location), loads its libraries from there and
# keeps running; then it is ended.
for program in "${programs[@]}"; do
  (cd / && exec env QT_QPA_PLATFORM=offscreen "$folder/$program" > "$work/$program.log" 2>&1) &
  pid=$!
  loaded=0
  for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      break
    fi
    if grep -q "$folder/$program" "/proc/$pid/maps" 2>/dev/null &&
      grep -q "libQt6Widgets" "/proc/$pid/maps" 2>/dev/null; then
      loaded=1
      break
    fi
    sleep 0.1
  done
  [ "$loaded" -eq 1 ] || { cat "$work/$program.log" >&2; fail "$program did not start"; }
  # Past its start-up: still running after a while.
  sleep 3
  kill -0 "$pid" 2>/dev/null || { cat "$work/$program.log" >&2; fail "$program ended at start"; }
  if ldd "$folder/$program" | grep -q libTempix &&
    ! grep -q "$folder/libTempix" "/proc/$pid/maps"; then
    fail "$program runs without the libTempix of its folder"
  fi
  echo "$program started from the moved folder (process $pid); ending it"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
done
# The programs' logs are private too, and a new installation had nothing
# to close to other users.
for log in system/errorlog.txt system/clockerrorlog.txt; do
  [ -e "$folder/$log" ] || continue
  mode="$(stat -c %a "$folder/$log")"
  [ "$mode" = 660 ] || fail "$log has mode $mode, not 660"
  if grep -q "Access for other users" "$folder/$log"; then
    fail "$log says a new installation was open to other users"
  fi
done
echo "the moved program folder works"
