#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over the product code, the
# sources outside tests/ and bench/, through the compile database a build
# folder exports (compile_commands.json). A source clang-tidy cannot read
# fails the run; its findings are printed and counted (they are warnings
# until the ones left are mended, see CODING_GUIDELINES.md).
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
tidy="$(command -v clang-tidy-14 || command -v clang-tidy || true)"
if [ -z "$tidy" ]; then
  bash "$root/scripts/deps.sh" clang-tidy
  tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"
fi
# The product's sources in the compile database: everything outside tests/,
# bench/ and the build folders.
mapfile -t sources < <(python3 - "$build/compile_commands.json" "$root" <<'PY'
import json, os, re, sys
root = sys.argv[2]
product = re.compile(r"^(core|storage|personnel|reports|admin|clock|tempix|ui|tools|server|security)/")
seen = set()
for entry in json.load(open(sys.argv[1])):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    relative = os.path.relpath(path, root)
    if product.match(relative) and relative.endswith(".cpp") and path not in seen:
        seen.add(path)
        print(path)
PY
)
log="$build/clang-tidy.log"
status=0
printf '%s\n' "${sources[@]}" |
  xargs -P 2 -n 4 "$tidy" -p "$build" --quiet >"$log" 2>&1 || status=$?
# clang-tidy's counts of warnings it generated and suppressed are left out.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers' "$log" || true
findings=$(grep -c -E ': warning: .*\[[a-z-]+' "$log" || true)
if [ "$status" -ne 0 ] || grep -q 'clang-diagnostic-error' "$log"; then
  echo "error: clang-tidy could not check every source (whole output: $log)" >&2
  exit 1
fi
echo "clang-tidy: ${#sources[@]} sources, $findings findings"
