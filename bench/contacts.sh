#!/usr/bin/env bash
# Contacts in and out: `orvanel-phonebook export` of a phone book of 100,000 generated
# contacts to vCard 3.0, vCard 4.0 and CSV, and `import` of each file into a new, empty
# phone book file, and of the vCard 3.0 file into an empty table on a PostgreSQL server
# on this machine; the wall time and peak memory of each command. Then Tools > Import
# Contacts of the CSV and vCard 3.0 files in the program's window, with the longest time
# its thread did not answer meanwhile.
#   bench/contacts.sh [runs]     (default 3; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
. bench/prepare.sh
build_release -- orvanel-phonebook contacts_window

data=build/release/bench-data/contacts
mkdir -p "$data"
bin=build/release/bin
echo "$(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
book="$data/source.mdb"
if [ ! -f "$book" ]; then
  "$bin/orvanel-phonebook" init "$book"
  "$bin/orvanel-phonebook" sample "$book" 100000
fi
source="PROVIDER=SQLite;Data Source=$book;"
for format in vcard3 vcard4 csv; do
  file="$data/contacts.$format"
  for _ in $(seq "$runs"); do
    sync # the disk is not still writing the last run's file while this one is timed
    /usr/bin/time -f "export $format: %e s, %M KB peak" \
      "$bin/orvanel-phonebook" export "$file" --format "$format" --from "$source" >/dev/null
  done
  echo "  $(du -h "$file" | cut -f1) written"
  for _ in $(seq "$runs"); do
    rm -f "$data/target.mdb"
    "$bin/orvanel-phonebook" init "$data/target.mdb"
    sync
    /usr/bin/time -f "import $format: %e s, %M KB peak" \
      "$bin/orvanel-phonebook" import "$file" --into "PROVIDER=SQLite;Data Source=$data/target.mdb;"
  done
done

start_postgres
for _ in $(seq "$runs"); do
  psql "${psql_args[@]}" -d orvanel -qc "DROP TABLE IF EXISTS PHONEBOOK CASCADE; DROP FUNCTION IF EXISTS PHONEBOOK_NUMBER()"
  "$bin/orvanel-phonebook" init --connection "$connection"
  sync
  /usr/bin/time -f "import vcard3 to the server: %e s, %M KB peak" \
    "$bin/orvanel-phonebook" import "$data/contacts.vcard3" --into "$connection"
done

for format in csv vcard3; do
  for _ in $(seq "$runs"); do
    "$bin/contacts_window" "$data/contacts.$format" 2>/dev/null
  done
done
