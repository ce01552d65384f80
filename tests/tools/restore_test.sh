#!/usr/bin/env bash
# orvan-initdb --restore as the owner runs it: a day's copy put back as the
# installation's database, the replaced file kept beside it with the
# private mode, the help text naming the option; a file that is no Orvan
# database and a bad command line are refused and change nothing.
#
#     restore_test.sh INITDB
set -euo pipefail
initdb="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
command -v sqlite3 > /dev/null || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
site="$work/Smith, Jones"
"$initdb" "$site" --demo > /dev/null
db="$site/system/orvan_11.mdb"
mkdir -m 0770 "$site/backups"
copy="$site/backups/orvan_11-2026-12-01.mdb"
sqlite3 "$db" ".backup '$copy'"
records="$(sqlite3 "$copy" "SELECT count(*) FROM TimeRecord")"
sqlite3 "$db" "DELETE FROM TimeRecord"

"$initdb" --help | grep -q -- "--restore BACKUP DIR" || fail "the help text has no --restore"

out="$("$initdb" --restore "$copy" "$site")" || fail "the restore failed: $out"
case "$out" in
  *"Restored $copy as $db"*"kept as $db.replaced-"*) ;;
  *) fail "unexpected output: $out" ;;
esac
[ "$(sqlite3 "$db" "SELECT count(*) FROM TimeRecord")" = "$records" ] || fail "not restored"
[ "$(sqlite3 "$db" "PRAGMA integrity_check")" = ok ] || fail "the restored file is damaged"
replaced="$(ls "$db".replaced-*)"
[ "$(sqlite3 "$replaced" "SELECT count(*) FROM TimeRecord")" = 0 ] ||
  fail "the replaced file is not the one that was there"
[ "$(stat -c %a "$replaced")" = 660 ] || fail "the replaced file is $(stat -c %a "$replaced")"
[ "$(stat -c %a "$db")" = 660 ] || fail "the database is $(stat -c %a "$db")"

echo "no database" > "$work/notes.mdb"
if "$initdb" --restore "$work/notes.mdb" "$site" > /dev/null 2> "$work/err"; then
  fail "a file that is no database was restored"
fi
grep -q "was not restored" "$work/err" || fail "no reason: $(cat "$work/err")"
[ "$(sqlite3 "$db" "SELECT count(*) FROM TimeRecord")" = "$records" ] ||
  fail "a refused restore changed the database"
for args in "--restore" "--restore a.mdb" "--restore a.mdb site extra" "site --restore a.mdb"; do
  status=0
  # shellcheck disable=SC2086
  (cd "$work" && "$initdb" $args > /dev/null 2>&1) || status=$?
  [ "$status" = 2 ] || fail "$args: status $status"
done
echo ok
