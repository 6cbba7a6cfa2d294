#!/usr/bin/env bash
# Starts or stops the throwaway PostgreSQL server the database tests share.
#   pg_fixture.sh start INFOFILE   -> writes HOST=<socket dir> and PORT=<port> to INFOFILE
#   pg_fixture.sh stop INFOFILE
set -euo pipefail
action=$1 info=$2
PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ "$(id -u)" = 0 ]; then AS=(runuser -u postgres --); else AS=(); fi

case "$action" in
start)
  [ -n "$PGBIN" ] || { echo "PostgreSQL server binaries not found (apt-get install postgresql)" >&2; exit 1; }
  if [ -f "$info" ]; then "$0" stop "$info" || true; fi
  DIR=$(mktemp -d /tmp/tavrin-pg.XXXXXX)
  [ "$(id -u)" = 0 ] && chown postgres:postgres "$DIR"
  "${AS[@]}" "$PGBIN/initdb" -D "$DIR/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync >/dev/null
  for PORT in $(seq 55432 55499); do
    if "${AS[@]}" "$PGBIN/pg_ctl" -D "$DIR/data" -l "$DIR/server.log" -w -t 30 \
         -o "-p $PORT -k $DIR -c listen_addresses='' -c fsync=off -c full_page_writes=off -c max_connections=200" start >/dev/null 2>&1; then
      printf 'DIR=%s\nHOST=%s\nPORT=%s\n' "$DIR" "$DIR" "$PORT" > "$info"
      echo "PostgreSQL for tests on $DIR port $PORT"
      exit 0
    fi
  done
  echo "could not start PostgreSQL; log:" >&2; cat "$DIR/server.log" >&2; exit 1 ;;
stop)
  [ -f "$info" ] || exit 0
  DIR=$(sed -n 's/^DIR=//p' "$info")
  "${AS[@]}" "$PGBIN/pg_ctl" -D "$DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$DIR" "$info" ;;
*) echo "usage: $0 start|stop INFOFILE" >&2; exit 2 ;;
esac
