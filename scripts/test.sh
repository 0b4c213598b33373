#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh

# The archive tests run against a throw-away PostgreSQL cluster of their own: made in a
# temporary folder by an unprivileged user (postgres when we are root), reached on a local
# socket only, and stopped when the tests end, failed or not.
pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
pg_dir=$(mktemp -d /tmp/qm7100-pg.XXXXXX)
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$pg_dir"
    as_owner=(runuser -u postgres --)
fi
stop_server() {
    "${as_owner[@]}" "$pg_bin/pg_ctl" -D "$pg_dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$pg_dir"
}
trap stop_server EXIT
"${as_owner[@]}" "$pg_bin/initdb" -D "$pg_dir/data" -A trust -U qm -E UTF8 --no-sync >/dev/null
# One role must give a password, which the tests keep in a libpq password file.
"${as_owner[@]}" sed -i '1i local all qm_password_user scram-sha-256' "$pg_dir/data/pg_hba.conf"
"${as_owner[@]}" "$pg_bin/pg_ctl" -D "$pg_dir/data" -l "$pg_dir/server.log" -w \
    -o "-k $pg_dir -c listen_addresses= -c fsync=off -c max_connections=200" start >/dev/null
export QM_TEST_POSTGRES="postgresql://qm@/postgres?host=$pg_dir"

cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
