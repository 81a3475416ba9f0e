#!/usr/bin/env bash
# The phone book with 100,000 and 1,000,000 generated contacts: the time from
# Run > PhoneBook to the first record shown, the program's peak memory then, and a search
# that scans every record without a match; and the engine's two interfaces reading the
# million rows.
#   bench/phonebook.sh [runs]     (default 5; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
. bench/prepare.sh
build_release libqt6sql6-sqlite -- orvanel-phonebook phonebook_open phonebook_engines
on_a_screen "$0" "$runs"

data=build/release/bench-data
mkdir -p "$data"
bin=build/release/bin
echo "$(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), display $DISPLAY"
for size in 100000 1000000; do
  folder="$data/phonebook-$size"
  if [ ! -f "$folder/ORVANEL.MDB" ]; then
    mkdir -p "$folder"
    "$bin/orvanel-phonebook" init "$folder/ORVANEL.MDB"
    "$bin/orvanel-phonebook" sample "$folder/ORVANEL.MDB" "$size"
  fi
  # The file is read once first, so that every run finds it in the page cache alike.
  cat "$folder/ORVANEL.MDB" >/dev/null
  for _ in $(seq "$runs"); do
    "$bin/phonebook_open" "$folder"
  done
done
for interface in c qt; do
  "$bin/phonebook_engines" "$data/phonebook-1000000/ORVANEL.MDB" "$interface"
done
