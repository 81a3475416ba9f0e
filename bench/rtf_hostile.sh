#!/usr/bin/env bash
# Each hostile RTF file, at the size it was first seen to hurt and at 20 MB, read by
# orvanel-rtf to-text: wall time and peak memory. The goal is 2 s and 400 MB for each.
#   bench/rtf_hostile.sh        (builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/prepare.sh
build_release time -- rtf-hostile orvanel-rtf
bin=build/release/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "machine: $(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
printf '%-20s %10s %9s %10s\n' kind "file" seconds "peak MB"
for kind in $("$bin/rtf-hostile" list | awk '{ print $1 }'); do
  for size in reported 20000000; do
    file="$work/$kind.rtf"
    "$bin/rtf-hostile" "$kind" "$size" "$file"
    /usr/bin/time -f '%e %M' -o "$work/time" "$bin/orvanel-rtf" to-text "$file" >/dev/null 2>&1 || true
    read -r seconds kilobytes <"$work/time"
    printf '%-20s %8.1f MB %9.2f %10.0f\n' "$kind" "$(stat -c %s "$file" | awk '{ print $1 / 1e6 }')" \
      "$seconds" "$(awk -v k="$kilobytes" 'BEGIN { print k / 1024 }')"
  done
done
