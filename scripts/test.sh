#!/usr/bin/env bash
# Builds everything and runs every test through CTest. The server tests run
# against a throwaway PostgreSQL cluster (scripts/pg-cluster.sh) started for
# the run, whose base URI they find in ORVAN_TEST_SERVER_URI; it is stopped
# and removed again however the tests end.
#
# ORVAN_WARNINGS_AS_ERRORS=ON in the environment makes every compiler warning
# an error (CI does this); ORVAN_BUILD_DIR picks another build folder;
# ORVAN_SANITIZE=ON builds with the address and undefined-behaviour
# sanitizers (and without the benchmarks), so that folder should be another
# one (CI uses build-asan).
#
# The soak and stress tests carry the CTest label "soak" (`ctest -LE soak`
# in the build folder leaves them out). ORVAN_SOAK_STEP=ON runs them as a
# step of their own after the rest, each step with its time (CI does this);
# by default one CTest run takes everything, the long soak tests beside the
# rest.
# ORVAN_TEST_SERVER=off runs everything but the server tests (they skip),
# without installing or starting PostgreSQL. Without PostgreSQL's server
# programs the server tests skip as well, with a note, unless
# ORVAN_REQUIRE_SERVER=1 (CI) makes a missing server a failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/deps.sh"
build="${ORVAN_BUILD_DIR:-$root/build}"
options=(-DORVAN_WITH_TESTS=ON)
if [ "${ORVAN_SANITIZE:-OFF}" = ON ]; then
  options+=(-DORVAN_WITH_ASAN=ON -DORVAN_WITH_BENCH=OFF)
  # A sanitizer finding fails the test that met it.
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
else
  options+=(-DORVAN_WITH_BENCH=ON)
fi
if [ -n "${ORVAN_WARNINGS_AS_ERRORS:-}" ]; then
  options+=("-DORVAN_WARNINGS_AS_ERRORS=$ORVAN_WARNINGS_AS_ERRORS")
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" --parallel 2

unset ORVAN_TEST_SERVER_URI
if [ "${ORVAN_TEST_SERVER:-on}" = off ]; then
  echo "note: ORVAN_TEST_SERVER=off: the server tests are skipped" >&2
  unset ORVAN_REQUIRE_SERVER
else
  # Under /tmp so that the cluster's own user (postgres, when run as root)
  # can reach the folder.
  cluster="$(mktemp -d /tmp/orvan-pg.XXXXXX)"
  trap 'bash "$root/scripts/pg-cluster.sh" stop "$cluster"' EXIT
  trap 'exit 130' INT TERM
  status=0
  uri="$(bash "$root/scripts/pg-cluster.sh" start "$cluster")" || status=$?
  if [ "$status" -eq 0 ]; then
    export ORVAN_TEST_SERVER_URI="$uri"
    echo "note: server tests on $uri" >&2
  elif [ "$status" -eq 3 ] && [ "${ORVAN_REQUIRE_SERVER:-}" != 1 ]; then
    echo "note: PostgreSQL's server programs are missing: the server tests are skipped" >&2
  else
    echo "error: the test server did not start" >&2
    exit 1
  fi
fi

cd "$build"
status=0
steps=("")
if [ "${ORVAN_SOAK_STEP:-OFF}" = ON ]; then
  steps=("-LE soak" "-L soak")
fi
for step in "${steps[@]}"; do
  echo "== ctest $step"
  start=$SECONDS
  # shellcheck disable=SC2086 # the step is two words on purpose
  ctest --output-on-failure --parallel 2 --timeout 600 $step || status=1
  echo "== ctest $step: $((SECONDS - start)) s"
done
exit "$status"
