# Sourced by the benchmark scripts, from the project's root folder.

# Installs what is missing (the project's packages and those named before "--") and
# builds the release targets named after it.
#   build_release [packages...] -- targets...
build_release() {
  local packages=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    packages+=("$1")
    shift
  done
  shift
  scripts/install-deps.sh "${packages[@]}"
  cmake --preset tests >/dev/null
  cmake --build --preset tests --target "$@" >/dev/null
}

# Without a display, runs the benchmark again (its command line given) on an Xvfb screen.
#   on_a_screen "$0" args...
on_a_screen() {
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi
}

# Starts a PostgreSQL server of the benchmark's own in a temporary folder, listening only
# on a socket there, with an empty database "orvanel", and stops it when the script
# ends. Runs it as nobody when this runs as root, since the server refuses root. Sets
# `connection` to the connection string of that database and `psql_args` to psql's.
#   start_postgres
start_postgres() {
  server=$(mktemp -d /tmp/orvanel-bench-pg-XXXXXX)
  as_server_user=()
  if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$server"
    as_server_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
  local port=$((20000 + RANDOM % 20000))
  trap stop_postgres EXIT
  "${as_server_user[@]}" "$pgbin/initdb" -D "$server/data" -U orvanel --auth=trust -E UTF8 \
    --no-locale >/dev/null
  "${as_server_user[@]}" "$pgbin/pg_ctl" -D "$server/data" -w -l "$server/log" \
    -o "-k $server -c listen_addresses='' -p $port" start >/dev/null
  psql_args=(-h "$server" -p "$port" -U orvanel)
  psql "${psql_args[@]}" -d postgres -qc "CREATE DATABASE orvanel"
  connection="PROVIDER=PostgreSQL;Host=$server;Port=$port;Database=orvanel;User ID=orvanel;"
}

stop_postgres() {
  "${as_server_user[@]}" "$pgbin/pg_ctl" -D "$server/data" -m fast -w stop >/dev/null || true
  rm -rf "$server"
}
