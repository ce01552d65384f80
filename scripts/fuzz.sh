#!/usr/bin/env bash
# Builds the libFuzzer harnesses (tests/fuzz) with Clang in build-fuzz/ and
# runs each for a while (30 seconds by default) from its seed corpus. Fails
# when a harness finds anything: the input that failed is kept in
# build-fuzz/findings/.
#
#     bash scripts/fuzz.sh [SECONDS] [HARNESS...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVAN_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-30}"
shift || true
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  harnesses=(jet_dialect config_file date_time stored_query)
fi

# Clang and its runtime libraries (libFuzzer, the sanitizers).
bash "$root/scripts/deps.sh" clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVAN_WITH_GUI=OFF -DORVAN_WITH_TESTS=OFF -DORVAN_WITH_BENCH=OFF -DORVAN_WITH_FUZZ=ON \
  >/dev/null
targets=()
for h in "${harnesses[@]}"; do
  targets+=("${h}_fuzz")
done
cmake --build "$build" --parallel 2 --target "${targets[@]}"

failed=()
for h in "${harnesses[@]}"; do
  # New inputs go to a scratch corpus in the build folder; the seeds in the
  # repository are only read.
  work="$build/corpus/$h"
  findings="$build/findings/$h"
  mkdir -p "$work" "$findings"
  echo "== fuzzing $h for ${seconds}s"
  if ! "$build/bin/${h}_fuzz" "$work" "$root/tests/fuzz/corpus/$h" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" > "$build/$h.log" 2>&1; then
    failed+=("$h")
    echo "!! $h found a failure (log: $build/$h.log, input in $findings/):"
    grep -E "ERROR|SUMMARY|stored_query_fuzz:|date_time_fuzz:|config_file_fuzz:|Test unit written" \
      "$build/$h.log" | head -n 20 || true
  else
    grep -E "^stat::number_of_executed_units|^Done" "$build/$h.log" | tr '\n' ' ' || true
    echo
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing: no findings (${harnesses[*]})"
