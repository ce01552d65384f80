#!/usr/bin/env bash
# Builds the Debian package build-package/orvan_<version>_amd64.deb with
# CPack from the build folder build/ (ORVAN_BUILD_DIR picks another; an
# existing one is reused with its options): installs the Debian packages the
# packaging needs when they are missing, builds the programs and the
# package's own files (icons, manual pages), and makes the package. Its path
# is the last line of the output.
#
#     bash scripts/package.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVAN_BUILD_DIR:-$root/build}"
out="$root/build-package"

# dpkg-shlibdeps (dpkg-dev) and file find the shared libraries the package
# depends on; rsvg-convert renders the icons. No database server is needed.
ORVAN_TEST_SERVER=off bash "$root/scripts/deps.sh" dpkg-dev file librsvg2-bin

cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --parallel 2 --target OrvanClock OrvanAdmin orvan-initdb Tempix \
  OrvanAdminUserGuide orvan-package-files

rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log") || {
  cat "$out/cpack.log" >&2
  exit 1
}
rm -rf "$out/_CPack_Packages"
shopt -s nullglob
packages=("$out"/orvan_*_amd64.deb)
if [ ${#packages[@]} -ne 1 ]; then
  cat "$out/cpack.log" >&2
  echo "error: CPack made no package orvan_<version>_amd64.deb in $out" >&2
  exit 1
fi
echo "${packages[0]}"
