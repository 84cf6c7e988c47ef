#!/usr/bin/env bash
# Starts or stops the PostgreSQL server the database tests run against.
#   pg_test_server.sh start DIR   initdb into a fresh temporary folder, listen on a Unix socket only
#   pg_test_server.sh stop DIR    stop it and remove its folder
# DIR receives what the tests read: socket_dir, port, user, or `unavailable` with the reason when
# no server can be started here (the PostgreSQL suites then skip). The server never runs as root:
# under root it runs as the `postgres` system user.
set -uo pipefail
action=${1:?start or stop}
state=${2:?state folder}
bindir=${KELVORK_PG_BINDIR:-}
if [ -z "$bindir" ]; then
  for d in /usr/lib/postgresql/*/bin; do [ -x "$d/initdb" ] && bindir=$d; done
fi

unavailable() {
  mkdir -p "$state"
  echo "$1" > "$state/unavailable"
  echo "PostgreSQL test server not started: $1"
  exit 0
}

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u "$owner" -- "$@"; else "$@"; fi
}

stop_server() {
  [ -f "$state/data_dir" ] || return 0
  local data owner_file
  data=$(cat "$state/data_dir")
  owner_file=$(cat "$state/owner" 2>/dev/null || id -un)
  owner=$owner_file
  if [ -d "$data" ]; then
    as_owner "$bindir/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$(dirname "$data")"
  fi
  rm -f "$state/data_dir" "$state/socket_dir" "$state/port" "$state/user" "$state/owner"
}

case "$action" in
stop)
  stop_server
  echo "PostgreSQL test server stopped"
  exit 0
  ;;
start)
  stop_server
  rm -rf "$state"
  mkdir -p "$state"
  [ -n "$bindir" ] || unavailable "PostgreSQL is not installed (no initdb under /usr/lib/postgresql/*/bin)"
  owner=$(id -un)
  if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || unavailable "running as root and there is no postgres user to run the server"
    owner=postgres
  fi
  base=$(mktemp -d /tmp/kelvork-pg.XXXXXX) || unavailable "cannot make a temporary folder"
  chmod 755 "$base"
  [ "$owner" = "$(id -un)" ] || chown "$owner" "$base"
  data=$base/data
  sock=$base
  port=$(( 20000 + RANDOM % 20000 ))
  if ! as_owner "$bindir/initdb" -D "$data" -U kelvork --auth=trust -E UTF8 --locale=C >"$base/initdb.log" 2>&1; then
    reason="initdb failed: $(tail -n 3 "$base/initdb.log" | tr '\n' ' ')"
    rm -rf "$base"
    unavailable "$reason"
  fi
  echo "$data" > "$state/data_dir"
  echo "$owner" > "$state/owner"
  opts="-c listen_addresses='' -c unix_socket_directories='$sock' -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200"
  if ! as_owner "$bindir/pg_ctl" -D "$data" -o "$opts" -l "$base/server.log" -w -t 60 start >/dev/null; then
    reason="the server did not start: $(tail -n 3 "$base/server.log" | tr '\n' ' ')"
    stop_server
    unavailable "$reason"
  fi
  echo "$sock" > "$state/socket_dir"
  echo "$port" > "$state/port"
  echo "kelvork" > "$state/user"
  echo "PostgreSQL test server running on socket $sock port $port"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
