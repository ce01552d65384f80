#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), checks it with lintian,
# appstreamcli and desktop-file-validate, and then tries it on this machine
# the way a shop would use it: `apt-get install ./orvan_*.deb`, the installed
# orvan-initdb --help, both installed programs started headless on the shared
# installation by a throwaway member of the group orvan (each must show its
# first window, no message box, and keep running), an upgrade to a later
# version and a removal that keep /var/opt/orvan as it was, a reinstall that
# leaves the database alone, and a purge that deletes it. CI runs it as root.
#
#     sudo bash scripts/package-check.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
data=/var/opt/orvan
user=orvan-check

if [ "$(id -u)" -ne 0 ]; then
  echo "error: the check installs and purges the package: run it as root" >&2
  exit 1
fi
if dpkg-query -W -f='${Status}' orvan 2>/dev/null | grep -q installed || [ -e "$data" ]; then
  echo "error: Orvan is installed here ($data): the check would purge its data" >&2
  exit 1
fi

ORVAN_TEST_SERVER=off bash "$root/scripts/deps.sh" lintian appstream desktop-file-utils
package="$(bash "$root/scripts/package.sh" | tail -n 1)"
echo "== $package"

echo "== lintian"
lintian --fail-on error --display-info "$package"

echo "== desktop entries and AppStream metadata"
contents="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # deluser takes the user's own group along.
  if id "$user" >/dev/null 2>&1; then deluser --quiet "$user" >/dev/null 2>&1 || true; fi
  rm -rf "$contents"
}
trap cleanup EXIT
dpkg-deb -x "$package" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
for metainfo in "$contents"/usr/share/metainfo/*.xml; do
  appstreamcli validate --no-net "$metainfo"
done

echo "== install"
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$package"; then
  # Package lists too old to name the dependencies: fresh ones, once.
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$package"
fi
orvan-initdb --help | grep -q '^usage: orvan-initdb'
fail() {
  echo "error: $*" >&2
  exit 1
}
expect_mode() { # PATH MODE GROUP
  local got
  got="$(stat -c '%a %G' "$1")"
  [ "$got" = "$2 $3" ] || fail "$1 is '$got', not '$2 $3'"
}
expect_mode "$data/system" 2770 orvan
expect_mode "$data/reports" 2770 orvan
expect_mode "$data/backups" 2770 orvan
expect_mode "$data/system/orvan_11.mdb" 660 orvan
expect_mode "$data/system/orvan_11.cfg" 660 orvan
[ -f "$data/documentation/OrvanAdminUserGuide.doc" ] || fail "no guide in $data/documentation"
for folder in system reports documentation backups; do
  [ "$(readlink "/opt/orvan/$folder")" = "$data/$folder" ] || fail "/opt/orvan/$folder is no link"
done

echo "== both programs on the shared installation, as a member of the group orvan"
adduser --system --group --quiet --no-create-home "$user"
adduser --quiet "$user" orvan
home="$(mktemp -d)"
mkdir -m 0700 "$home/runtime"
chown -R "$user:" "$home"
# Qt's painting log names each top-level window as it is drawn: the
# station's window FController and the manager's login window FLogin when
# a program comes up, a message box when its start-up failed.
for check in orvan-clock:FController orvan-admin:FLogin; do
  command="${check%%:*}"
  window="${check#*:}"
  log="$contents/$command.log"
  setpriv --reuid "$user" --regid "$user" --init-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES=qt.widgets.painting=true \
    "$command" >"$log" 2>&1 &
  pid=$!
  pids+=("$pid")
  shown=0
  for _ in $(seq 1 60); do
    kill -0 "$pid" 2>/dev/null || break
    if grep -q "of top level .*name=\"$window\"" "$log"; then
      shown=1
      break
    fi
    sleep 0.25
  done
  # A crash soon after the window came up fails too.
  sleep 3
  if [ "$shown" -ne 1 ] || ! kill -0 "$pid" 2>/dev/null ||
    grep -q "of top level QMessageBox" "$log"; then
    grep -v '^qt\.widgets\.painting' "$log" | tail -n 20 >&2
    grep -o 'of top level [^ ]*' "$log" | sort -u >&2 || true
    fail "$command did not come up with its window $window on $data"
  fi
  echo "$command is up as $user with its window $window"
done
for pid in "${pids[@]}"; do
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
pids=()
[ "$(stat -c %G "$data/system/clockerrorlog.txt")" = orvan ] ||
  fail "the station's error log did not keep the group orvan"

echo "== an upgrade keeps the data"
sum="$(sha256sum "$data/system/orvan_11.mdb")"
modes="$(stat -c '%a %G %n' "$data"/system "$data"/system/* "$data"/reports "$data"/backups)"
version="$(dpkg-deb -f "$package" Version)"
(cd "${ORVAN_BUILD_DIR:-$root/build}" &&
  cpack -G DEB -B "$contents/upgrade" -D CPACK_PACKAGE_VERSION="$version+1" >/dev/null)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "$contents/upgrade/orvan_${version}+1_amd64.deb"
[ "$(dpkg-query -W -f='${Version}' orvan)" = "$version+1" ] || fail "the upgrade was not installed"
[ "$(sha256sum "$data/system/orvan_11.mdb")" = "$sum" ] || fail "the upgrade changed the database"
[ "$(stat -c '%a %G %n' "$data"/system "$data"/system/* "$data"/reports "$data"/backups)" = "$modes" ] ||
  fail "the upgrade changed the installation's modes"

echo "== remove keeps the data"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orvan
[ ! -e /usr/bin/orvan-clock ] || fail "/usr/bin/orvan-clock is still there"
[ ! -e /opt/orvan/OrvanClock ] || fail "/opt/orvan/OrvanClock is still there"
[ -f "$data/system/orvan_11.mdb" ] || fail "remove deleted the database"
[ -f "$data/system/orvan_11.cfg" ] || fail "remove deleted the configuration"

echo "== install again: the data stays as it was"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$package"
[ "$(sha256sum "$data/system/orvan_11.mdb")" = "$sum" ] || fail "the reinstall changed the database"

echo "== purge deletes the data"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq orvan
[ ! -e "$data" ] || fail "purge left $data"
[ ! -e /opt/orvan ] || fail "purge left /opt/orvan"
rm -rf "$home"
echo "== the package passed"
