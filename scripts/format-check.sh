#!/usr/bin/env bash
# Checks that every tracked C++ source is formatted by the repository's
# .clang-format; prints the places that are not and fails. Formats them in
# place instead with --fix.
#
#     bash scripts/format-check.sh [--fix]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
format="$(command -v clang-format-14 || command -v clang-format || true)"
if [ -z "$format" ]; then
  bash scripts/deps.sh clang-format
  format="$(command -v clang-format-14 || command -v clang-format)"
fi
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  "$format" -i "${sources[@]}"
  exit 0
fi
"$format" --dry-run -Werror "${sources[@]}"
echo "format: ${#sources[@]} sources formatted"
