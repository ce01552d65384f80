#!/usr/bin/env bash
# orvan-initdb --verify-audit on an installation: a new one is intact, an
# entry written with its right hash keeps it intact, and a changed, a
# slipped-in and a removed entry are each named with a non-zero status.
#
#     verify_audit_test.sh INITDB
set -euo pipefail
initdb="$1"
command -v sqlite3 > /dev/null && command -v sha256sum > /dev/null || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
"$initdb" "$work/site" --demo > /dev/null
db="$work/site/system/orvan_11.mdb"

out="$("$initdb" --verify-audit "$work/site")" || fail "a new installation is not intact"
[ "$out" = "The audit trail is intact (0 entries)." ] || fail "new: $out"

zeros="$(printf '0%.0s' $(seq 64))"
when="2026-12-09T15:04:05-06:00"
hash="$(printf '64:%s;1:1;25:%s;7:manager;4:Edit;1:7;2:40;1:a;1:b;0:;' "$zeros" "$when" |
  sha256sum | cut -d' ' -f1)"
sqlite3 "$db" "INSERT INTO AuditEntry (EntryID, EntryTime, Who, Kind, TimeRecordID, EmployeeID,
  ValueBefore, ValueAfter, Hash) VALUES (1, '$when', 'manager', 'Edit', 7, 40, 'a', 'b', '$hash')"
out="$("$initdb" --verify-audit "$db")" || fail "a right entry breaks the chain: $out"
[ "$out" = "The audit trail is intact (1 entry)." ] || fail "one entry: $out"

broken() {
  local expected="$1" err
  if "$initdb" --verify-audit "$work/site" > /dev/null 2> "$work/err"; then
    fail "not found: $expected"
  fi
  err="$(cat "$work/err")"
  case "$err" in
    *"broken at entry $expected:"*) ;;
    *) fail "expected entry $expected: $err" ;;
  esac
}
sqlite3 "$db" "UPDATE AuditEntry SET ValueAfter = 'c' WHERE EntryID = 1"
broken 1
sqlite3 "$db" "UPDATE AuditEntry SET ValueAfter = 'b' WHERE EntryID = 1"
sqlite3 "$db" "INSERT INTO AuditEntry (EntryID, EntryTime, Who, Kind, Hash)
  VALUES (2, '$when', 'manager', 'Delete', '$hash')"
broken 2
sqlite3 "$db" "UPDATE AuditEntry SET EntryID = 3 WHERE EntryID = 2"
broken 2
sqlite3 "$db" "DELETE FROM AuditEntry WHERE EntryID = 1"
broken 1
! "$initdb" --verify-audit "$work/nowhere" 2> /dev/null || fail "a missing folder passed"
"$initdb" --verify-audit "$work/site" extra 2> /dev/null && fail "extra argument taken"
[ $? -eq 2 ] || fail "extra argument: not a usage error"
echo "ok"
