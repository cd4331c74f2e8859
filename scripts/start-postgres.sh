#!/usr/bin/env bash
# Starts a throw-away PostgreSQL server on 127.0.0.1:55432 for the end-to-end tests, unless one
# is already listening there. The data folder lives under /tmp and is recreated when missing.
set -euo pipefail

port=${SLIDESMITH_PG_PORT:-55432}
data=${SLIDESMITH_PG_DATA:-/tmp/slidesmith-pg}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [[ -z "$bin" ]]; then
    echo "PostgreSQL is not installed; tests against it will skip." >&2
    exit 0
fi

run_as_postgres() {
    if [[ $(id -u) -eq 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

if run_as_postgres "$bin/pg_isready" -h 127.0.0.1 -p "$port" -q 2>/dev/null; then
    exit 0
fi
if [[ ! -f "$data/PG_VERSION" ]]; then
    mkdir -p "$data"
    [[ $(id -u) -eq 0 ]] && chown postgres:postgres "$data"
    run_as_postgres "$bin/initdb" -D "$data" -U postgres --auth=trust -E UTF8 >/dev/null
fi
run_as_postgres "$bin/pg_ctl" -D "$data" -l "$data/server.log" -w \
    -o "-p $port -k /tmp -c listen_addresses=127.0.0.1" start >/dev/null
echo "PostgreSQL listening on 127.0.0.1:$port"
