#!/usr/bin/env bash
# A phone book window on 100,000 contacts held by a PostgreSQL server on this machine,
# beside the same contacts in the file: the time from Run > PhoneBook to the first
# record shown, the program's peak memory then, and a search through every record. Also
# the time orvanel-phonebook takes to copy the file to the server.
#   bench/phonebook_server.sh [runs]     (default 5; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
. bench/prepare.sh
build_release -- orvanel-phonebook phonebook_open
on_a_screen "$0" "$runs"

bin=$PWD/build/release/bin
size=100000
data=build/release/bench-data/phonebook-$size
if [ ! -f "$data/ORVANEL.MDB" ]; then
  mkdir -p "$data"
  "$bin/orvanel-phonebook" init "$data/ORVANEL.MDB"
  "$bin/orvanel-phonebook" sample "$data/ORVANEL.MDB" "$size"
fi

start_postgres
"$bin/orvanel-phonebook" init --connection "$connection"
start=$(date +%s%N)
"$bin/orvanel-phonebook" copy "PROVIDER=SQLite;Data Source=$data/ORVANEL.MDB;" "$connection"
echo "copy of the file to the server: $(( ($(date +%s%N) - start) / 1000000 )) ms"

echo "$(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), display $DISPLAY"
cat "$data/ORVANEL.MDB" >/dev/null
for _ in $(seq "$runs"); do
  echo "file:   $("$bin/phonebook_open" "$data")"
  echo "server: $("$bin/phonebook_open" "$data" "$connection")"
done
