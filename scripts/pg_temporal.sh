#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL cluster: initdb into a temporary
# folder, a server listening only on a Unix socket in that folder, stopped and
# removed when the command ends, whatever its outcome. The command sees
# LODRIN_PG_HOST (the socket folder), LODRIN_PG_USER and LODRIN_PG_DATABASE.
# Commits skip the disk unless LODRIN_PG_FSYNC=on (as a benchmark wants).
# The server never runs as root: as root it runs as the postgres user.
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
dir=$(mktemp -d "${TMPDIR:-/tmp}/lodrin-pg.XXXXXX")
como=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$dir"
  como=(runuser -u postgres --)
fi
para() {
  "${como[@]}" "$bin/pg_ctl" -D "$dir/datos" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap para EXIT
"${como[@]}" "$bin/initdb" -D "$dir/datos" -U lodrin -A trust -E UTF8 --locale=C.UTF-8 --no-sync >/dev/null
"${como[@]}" "$bin/pg_ctl" -D "$dir/datos" -l "$dir/servidor.log" -w \
  -o "-k $dir -c listen_addresses= -c fsync=${LODRIN_PG_FSYNC:-off}" start >/dev/null
"${como[@]}" "$bin/createdb" -h "$dir" -U lodrin lodrin >/dev/null
export LODRIN_PG_HOST="$dir" LODRIN_PG_USER=lodrin LODRIN_PG_DATABASE=lodrin
"$@"
