#!/bin/sh
# A PostgreSQL server of the tests' own: made in a new folder under /tmp (the
# server's user may not reach the build folder), reachable only by its Unix
# socket there, and removed again.
#   pg-throwaway.sh start INFO   starts a server; INFO gets "host=… port=… user=…"
#   pg-throwaway.sh stop INFO    stops the server INFO names at once and removes it
# The superuser is "kestrova", trusted on the socket; the server never listens on TCP.
set -eu
action=$1
info=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/pg_ctl" ] || { echo "no PostgreSQL server programs in /usr/lib/postgresql" >&2; exit 1; }

# The server refuses to run as root: then it runs as the packaged postgres user.
as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case $action in
start)
    [ -f "$info" ] && sh "$0" stop "$info"
    dir=$(mktemp -d /tmp/kestrova-pg.XXXXXX)
    [ "$(id -u)" = 0 ] && chown postgres: "$dir"
    chmod 700 "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -U kestrova --auth=trust -E UTF8 --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1 ||
        { cat "$dir/initdb.log" >&2; exit 1; }
    # A port of its own, so two runs on one machine never meet.
    port=$(( 20000 + $$ % 20000 ))
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -k '$dir' -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    # The sockets folder is the server's; the tests, maybe another user, connect through it.
    chmod 755 "$dir"
    printf 'host=%s\nport=%s\nuser=kestrova\n' "$dir" "$port" >"$info"
    ;;
stop)
    [ -f "$info" ] || exit 0
    dir=$(sed -n 's/^host=//p' "$info")
    case $dir in /tmp/kestrova-pg.*) ;; *) echo "not a throwaway server: $dir" >&2; exit 1 ;; esac
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir" "$info"
    ;;
*)
    echo "usage: $0 start|stop INFO" >&2
    exit 2
    ;;
esac
