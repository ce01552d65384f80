#!/usr/bin/env bash
# The installed orvan-initdb with a database server, as an administrator runs
# it: installs the build into a scratch prefix, makes an installation whose
# database is a new database of the test server (--server --demo), checks
# the folder and its configuration, sees a second run and an address with a
# password refused with nothing changed, then copies the server database to
# a file and that file to another new server database (--copy). The
# installation is made in the program folder, and the clock program (when
# given) started there offscreen: it connects to the server database and
# runs with nothing but its opening lines in its error log.
#
#     server_initdb_test.sh CMAKE BUILD_DIR INITDB [CLOCK_PROGRAM]
#
# The server is ORVAN_TEST_SERVER_URI (scripts/pg-cluster.sh start prints
# one); without it the test is skipped (exit 77), or fails when
# ORVAN_REQUIRE_SERVER=1.
set -euo pipefail
cmake="$1"
build="$2"
initdb="$3"
clock="${4:-}"

skip() {
  if [ "${ORVAN_REQUIRE_SERVER:-}" = "1" ]; then
    echo "FAIL: $* (ORVAN_REQUIRE_SERVER=1)" >&2
    exit 1
  fi
  echo "SKIP: $*"
  exit 77
}

base="${ORVAN_TEST_SERVER_URI:-}"
[ -n "$base" ] || skip "no test server: ORVAN_TEST_SERVER_URI is not set"
command -v psql >/dev/null 2>&1 || skip "psql is not installed"

work="$(mktemp -d)"
databases=()
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  for db in "${databases[@]}"; do
    psql -X -q "$base" -c "DROP DATABASE IF EXISTS $db WITH (FORCE)" >/dev/null 2>&1 || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A new empty database on the test server; prints its URI.
new_database() {
  local name="orvan_initdb_$$_${#databases[@]}_$RANDOM"
  psql -X -q -v ON_ERROR_STOP=1 "$base" -c "CREATE DATABASE $name TEMPLATE template0" >/dev/null
  databases+=("$name")
  # The base URI with this database in place of its own (options kept).
  local options=""
  local rest="$base"
  if [[ "$base" == *\?* ]]; then
    options="?${base#*\?}"
    rest="${base%%\?*}"
  fi
  local authority="${rest#*://}"
  echo "${rest%%://*}://${authority%%/*}/$name$options"
}

count() {
  psql -X -q -t -A -v ON_ERROR_STOP=1 "$1" -c "$2"
}

"$cmake" --install "$build" --prefix "$work/program" >"$work/install.log" ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }
program="$work/program/$initdb"
[ -x "$program" ] || fail "$initdb was not installed"

new_database >"$work/uri"
uri="$(cat "$work/uri")"
site="$work/program"
"$program" "$site" --server "$uri" --demo >"$work/out" 2>"$work/err" ||
  { cat "$work/out" "$work/err" >&2; fail "--server --demo failed"; }
cat "$work/out"
grep -q "created server database $uri (with demonstration data)" "$work/out" ||
  fail "the server database is not listed"
config="$site/system/orvan_11.cfg"
[ -f "$config" ] || fail "no configuration file"
grep -qx "DatabasePath=$uri"$'\r' "$config" || { cat "$config" >&2; fail "DatabasePath is not the URI"; }
[ -d "$site/reports" ] || fail "no reports folder"
[ -s "$site/documentation/OrvanAdminUserGuide.doc" ] || fail "no user's guide"
[ ! -e "$site/system/orvan_11.mdb" ] || fail "a database file was made as well"
records="$(count "$uri" "SELECT count(*) FROM TimeRecord")"
[ "$records" -gt 100 ] || fail "the demonstration time records are missing ($records)"
[ "$(count "$uri" "SELECT count(*) FROM _StoredQuery")" -gt 0 ] || fail "no stored queries"
[ "$(count "$uri" "SELECT count(*) FROM Employee WHERE EmployeeID = 39")" -eq 1 ] ||
  fail "no administrator"

# The clock program of the folder works on the server database: it keeps a
# connection to it and writes no failure to its error log.
if [ -n "$clock" ]; then
  (cd / && exec env QT_QPA_PLATFORM=offscreen "$work/program/$clock" >"$work/clock.log" 2>&1) &
  pid=$!
  database="${uri##*/}"
  database="${database%%\?*}"
  connected=0
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    if [ "$(count "$base" "SELECT count(*) FROM pg_stat_activity WHERE datname = '$database'")" -gt 0 ]; then
      connected=1
      break
    fi
    sleep 0.1
  done
  sleep 2
  kill -0 "$pid" 2>/dev/null || { cat "$work/clock.log" >&2; fail "$clock ended at start"; }
  [ "$connected" -eq 1 ] || { cat "$work/clock.log" >&2; fail "$clock did not connect to $uri"; }
  # Still running: the opening lines of its run and nothing after them.
  log="$site/system/clockerrorlog.txt"
  [ -f "$log" ] || fail "$clock wrote no error log"
  mapfile -t lines < <(tr -d '\r' < "$log")
  [ "${#lines[@]}" -eq 3 ] && [ "${lines[0]}" = "session begin" ] &&
    [ -n "${lines[1]}" ] && [ "${lines[2]}" = "------------------------------" ] ||
    { cat "$log" >&2; fail "$clock logged a failure, or not its opening lines"; }
  echo "$clock runs on the server database"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
fi

# A database that holds the schema is refused; nothing is made or changed.
if "$program" "$work/again" --server "$uri" >"$work/out" 2>"$work/err"; then
  fail "a second --server run on the same database succeeded"
fi
grep -q "already holds an Orvan database" "$work/err" || { cat "$work/err" >&2; fail "no reason given"; }
[ ! -e "$work/again" ] || fail "the refused run made a folder"
[ "$(count "$uri" "SELECT count(*) FROM TimeRecord")" -eq "$records" ] ||
  fail "the refused run changed the database"

# A password in the address never reaches a configuration file or a message,
# whatever the letter case of the scheme and wherever the password stands.
with_password="${uri/:\/\/postgres@/://postgres:s3cret@}"
[ "$with_password" != "$uri" ] || with_password="${uri/:\/\//://orvan:s3cret@}"
rest="${with_password#*://}"
for address in "$with_password" "POSTGRESQL://$rest" "Postgres://$rest" \
  "POSTGRESQL://${uri#*://}?PASSWORD=s3cret"; do
  if "$program" "$work/secret" --server "$address" >"$work/out" 2>"$work/err"; then
    fail "an address with a password was taken: $address"
  fi
  grep -qi "password" "$work/err" ||
    { cat "$work/err" >&2; fail "the password is not named as the reason: $address"; }
  ! grep -q "s3cret" "$work/out" "$work/err" || { cat "$work/err" >&2; fail "the password was repeated"; }
  [ ! -e "$work/secret" ] || fail "the refused run made a folder"
  for run in "--copy $address $work/leak.mdb" "--verify-audit $address"; do
    # shellcheck disable=SC2086
    if "$program" $run >"$work/out" 2>"$work/err"; then
      fail "orvan-initdb $run worked with a password in the address"
    fi
    ! grep -q "s3cret" "$work/out" "$work/err" || { cat "$work/err" >&2; fail "$run repeated the password"; }
  done
done

# The server database to a file, and the file to another new database.
"$program" --copy "$uri" "$work/copy.mdb" >"$work/out" 2>"$work/err" ||
  { cat "$work/err" >&2; fail "--copy to a file failed"; }
grep -q "copied $records rows of TimeRecord" "$work/out" || { cat "$work/out" >&2; fail "copy not listed"; }
new_database >"$work/uri2"
uri2="$(cat "$work/uri2")"
"$program" --copy "$work/copy.mdb" "$uri2" >"$work/out" 2>"$work/err" ||
  { cat "$work/err" >&2; fail "--copy to the server failed"; }
same="$(count "$uri2" "SELECT count(*) FROM TimeRecord")"
[ "$same" -eq "$records" ] || fail "the second server database holds $same records, not $records"
if "$program" --copy "$work/copy.mdb" "$uri2" >"$work/out" 2>"$work/err"; then
  fail "a copy into a database with data succeeded"
fi
grep -q "already holds data" "$work/err" || { cat "$work/err" >&2; fail "no reason given"; }
echo "orvan-initdb --server and --copy work from the installed program folder"
