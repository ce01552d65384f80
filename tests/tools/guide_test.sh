#!/usr/bin/env bash
# orvan-initdb ships the user's guide: after a new installation
# documentation/OrvanAdminUserGuide.doc is there, is an RTF document that a
# converter reads, and holds the section the login help sends the user to.
#
#     guide_test.sh ORVAN-INITDB
set -euo pipefail
initdb="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$initdb" "$work/site" > "$work/out"
guide="$work/site/documentation/OrvanAdminUserGuide.doc"
test -s "$guide" || { echo "no guide at $guide" >&2; exit 1; }
grep -q 'OrvanAdminUserGuide.doc' "$work/out" || { echo "the guide is not listed" >&2; exit 1; }
# The HTML guide of the help window, with every picture it shows.
html="$work/site/documentation/OrvanAdminUserGuide.html"
grep -q '6.1 Administrator' "$html" || { echo "no HTML guide with section 6.1 at $html" >&2; exit 1; }
for picture in $(grep -o 'src="[^"]*"' "$html" | sed 's/^src="//; s/"$//'); do
  test -s "$work/site/documentation/$picture" || { echo "missing picture $picture" >&2; exit 1; }
done
head -c 5 "$guide" | grep -q '^{\\rtf' || { echo "the guide is not RTF" >&2; exit 1; }
pandoc --from rtf --to plain "$guide" > "$work/guide.txt"
grep -q '6\.1 Administrator' "$work/guide.txt" || { echo "no section 6.1 Administrator" >&2; exit 1; }
for section in 'Installing' 'Backing up' 'Error messages'; do
  grep -qi "$section" "$work/guide.txt" || { echo "no section $section" >&2; exit 1; }
done
