#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the server tests, in a folder of its own:
#
#     bash scripts/pg-cluster.sh start [DIR]   # prints the base URI
#     bash scripts/pg-cluster.sh uri [DIR]     # prints it again
#     bash scripts/pg-cluster.sh stop [DIR]    # stops it and removes DIR
#
# DIR defaults to /tmp/orvan-pg. The cluster is made fresh on every start
# (a server left running in DIR by an earlier start is stopped first, a stale
# folder after a crash is removed), runs as a non-root user (the `postgres`
# system user when started as root), trusts every local login, listens on
# 127.0.0.1 only, on a free port, and on a Unix socket inside DIR. fsync is
# off: the data is thrown away. `start` prints nothing but the URI
# (postgresql://postgres@127.0.0.1:PORT/postgres) on stdout and keeps it in
# DIR/uri. Installs nothing: without the server's programs it exits with 3.
#
# PG_BINDIR picks the folder of initdb and pg_ctl; otherwise the newest
# /usr/lib/postgresql/*/bin, or the ones on PATH.
set -euo pipefail

command="${1:-}"
dir="${2:-/tmp/orvan-pg}"

usage() {
  echo "usage: $0 start|stop|uri [DIR]" >&2
  exit 2
}

find_bindir() {
  if [ -n "${PG_BINDIR:-}" ]; then
    echo "$PG_BINDIR"
    return
  fi
  local candidate
  candidate="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)"
  if [ -n "$candidate" ] && [ -x "$candidate/initdb" ]; then
    echo "$candidate"
    return
  fi
  if command -v initdb >/dev/null 2>&1; then
    dirname "$(command -v initdb)"
  fi
}

bindir="$(find_bindir)"

# Runs a command as the cluster's owner: the `postgres` system user when this
# script runs as root (the server refuses to run as root), otherwise the user
# running it.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# Stops a server still running in DIR (immediately: its data is thrown away).
stop_server() {
  if [ -f "$dir/data/postmaster.pid" ] && [ -n "$bindir" ] && [ -x "$bindir/pg_ctl" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/data/postmaster.pid" ]; then
    # pg_ctl could not stop it (or is gone): end the postmaster by its id.
    local pid
    pid="$(head -n 1 "$dir/data/postmaster.pid" 2>/dev/null || true)"
    if [[ "$pid" =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
      kill -QUIT "$pid" 2>/dev/null || true
      for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
    fi
  fi
}

port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start() {
  if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ] || [ ! -x "$bindir/pg_ctl" ]; then
    echo "error: PostgreSQL's server programs (initdb, pg_ctl) are not installed" \
      "(Debian: apt-get install postgresql)" >&2
    exit 3
  fi
  if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
    echo "error: running as root needs the 'postgres' system user to own the cluster" >&2
    exit 3
  fi
  stop_server
  rm -rf "$dir"
  mkdir -p "$dir"
  dir="$(cd "$dir" && pwd)"
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$dir"
    if ! runuser -u postgres -- test -w "$dir"; then
      echo "error: the 'postgres' user cannot write to $dir (choose a folder under /tmp)" >&2
      exit 1
    fi
  fi
  chmod 700 "$dir"

  if ! as_owner "$bindir/initdb" -D "$dir/data" -U postgres --auth=trust --encoding=UTF8 \
    --locale=C --no-sync >"$dir/initdb.log" 2>&1; then
    echo "error: initdb failed:" >&2
    cat "$dir/initdb.log" >&2
    exit 1
  fi
  # Settings for a server the tests throw away: nothing is flushed to disk,
  # enough connections for several stations of the soak test at once.
  as_owner tee -a "$dir/data/postgresql.conf" >/dev/null <<EOF

# scripts/pg-cluster.sh
listen_addresses = '127.0.0.1'
unix_socket_directories = '$dir'
max_connections = 100
fsync = off
synchronous_commit = off
full_page_writes = off
EOF

  # A free port: one nobody listens on now; should another program take it
  # first, the start fails and the next candidate is tried.
  local attempt port started=0
  for attempt in $(seq 10); do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
    if port_in_use "$port"; then
      continue
    fi
    if as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-p $port" start >/dev/null 2>&1; then
      started=1
      break
    fi
    stop_server
    echo "note: the server did not start on port $port (attempt $attempt)" >&2
  done
  if [ "$started" -ne 1 ]; then
    echo "error: the PostgreSQL server did not start; its log:" >&2
    tail -n 30 "$dir/server.log" >&2 || true
    exit 1
  fi
  local uri="postgresql://postgres@127.0.0.1:$port/postgres"
  echo "$uri" | as_owner tee "$dir/uri" >/dev/null
  echo "$uri"
}

stop() {
  if [ ! -e "$dir" ]; then
    return 0
  fi
  stop_server
  rm -rf "$dir"
}

uri() {
  if [ ! -f "$dir/uri" ] || [ ! -f "$dir/data/postmaster.pid" ]; then
    echo "error: no cluster runs in $dir (start it with: $0 start $dir)" >&2
    exit 1
  fi
  cat "$dir/uri"
}

case "$command" in
start) start ;;
stop) stop ;;
uri) uri ;;
*) usage ;;
esac
