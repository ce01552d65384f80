#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is
# missing. Runs apt-get update once, only when something must be installed.
# Packages given as arguments are needed as well (scripts/fuzz.sh adds
# Clang's this way):
#
#     bash scripts/deps.sh [PACKAGE...]
#
# The PostgreSQL server (for the server tests' throwaway cluster) is left out
# when ORVAN_TEST_SERVER=off; its client library is always needed.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools libgl-dev
  libqt6opengl6-dev # Qt Designer's CMake package needs it; without it the Tempix plugin drops out
  xvfb xauth fonts-dejavu-core
  pandoc
  poppler-utils # pdftotext, to read back the PDFs the tests write
  libsodium-dev # PIN hashes (Argon2)
  libpq-dev     # the database server's client library
  "$@"
)
if [ "${ORVAN_TEST_SERVER:-on}" != off ]; then
  packages+=(postgresql) # the server tests' throwaway cluster (scripts/pg-cluster.sh)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    echo "error: packages are missing and this user cannot install them: ${missing[*]}" >&2
    exit 1
  fi
fi
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
