#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over the product code, the
# sources outside tests/ and bench/, through the compile database a build
# folder exports (compile_commands.json). Any finding fails.
#
#     bash scripts/tidy.sh [BUILD_FOLDER]
#
# The build folder must have been built: Qt's generated headers are read.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-${ORVAN_BUILD_DIR:-$root/build}}" && pwd)"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "error: $build/compile_commands.json is missing: configure and build first" >&2
  exit 1
fi
runner="$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)"
if [ -z "$runner" ]; then
  bash "$root/scripts/deps.sh" clang-tidy
  runner="$(command -v run-clang-tidy-14 || command -v run-clang-tidy)"
fi
# Product folders only; the expression is matched against full paths.
folders='core|storage|personnel|reports|admin|clock|tempix|ui|tools|server|security'
log="$build/clang-tidy.log"
status=0
"$runner" -quiet -p "$build" -j 2 -warnings-as-errors='*' \
  "^$root/($folders)/.*\\.cpp\$" >"$log" 2>&1 || status=$?
# clang-tidy's chatter (counts of suppressed warnings) is left out.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers|^clang-tidy-14 |^Running clang-tidy' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "error: clang-tidy found problems (whole output: $log)" >&2
  exit 1
fi
echo "clang-tidy: no finding"
