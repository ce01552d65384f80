#!/usr/bin/env bash
# orvan-initdb --reset-admin-password on an installation whose administrator
# changed the first-time password: the hash goes, the first-time password is
# back in the administrator's row, the reset is on an intact audit trail; a
# folder without an installation is refused.
#
#     reset_admin_password_test.sh INITDB
set -euo pipefail
initdb="$1"
command -v sqlite3 > /dev/null || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
site="$work/Smith, Jones"
"$initdb" "$site" > /dev/null
db="$site/system/orvan_11.mdb"
# As File, Change Password... leaves it.
sqlite3 "$db" "INSERT INTO AdminPassword (EmployeeID, PasswordHash) VALUES (39, '\$argon2id\$x');
  UPDATE Employee SET Password = '' WHERE EmployeeID = 39"

out="$("$initdb" --reset-admin-password "$site")" || fail "the reset failed: $out"
case "$out" in
  *"first-time password again"*) ;;
  *) fail "unexpected output: $out" ;;
esac
[ "$(sqlite3 "$db" "SELECT count(*) FROM AdminPassword")" = 0 ] || fail "the hash stayed"
[ "$(sqlite3 "$db" "SELECT Password FROM Employee WHERE EmployeeID = 39")" = renby742 ] ||
  fail "the first-time password is not back"
[ "$(sqlite3 "$db" "SELECT Who || '|' || Kind || '|' || ValueAfter FROM AuditEntry")" = \
  "orvan-initdb|Administrator password|Reset to the first-time password" ] ||
  fail "no audit entry"
"$initdb" --verify-audit "$site" > /dev/null || fail "the reset broke the audit trail"

if "$initdb" --reset-admin-password "$work/nothing" > /dev/null 2> "$work/err"; then
  fail "a folder without an installation was reset"
fi
grep -q "no configuration file" "$work/err" || fail "missing installation: $(cat "$work/err")"
status=0
"$initdb" --reset-admin-password > /dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "no folder: status $status"
echo ok
