#!/usr/bin/env bash
# The RTF codec at 1 MB and 10 MB, then the 10 MB file to plain text through
# orvanel-rtf and through unrtf, pandoc and LibreOffice, in one run, as ratios.
#   bench/rtf.sh        (builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/prepare.sh
build_release unrtf pandoc libreoffice-writer-nogui -- rtf_throughput orvanel-rtf
bin=build/release/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "machine: $(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
for size in 1 10; do
  "$bin/rtf_throughput" write "$size" "$work/diary-$size.rtf"
  "$bin/rtf_throughput" read "$work/diary-$size.rtf"
done

file="$work/diary-10.rtf"
seconds() { # command...: wall seconds of one run, output dropped
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  awk -v n=$(( end - start )) 'BEGIN { printf "%.3f", n / 1e9 }'
}
ours=$(seconds "$bin/orvanel-rtf" to-text "$file")
printf '%-34s %8.3f s\n' "orvanel-rtf to-text" "$ours"
compare() { # label, command...
  local label=$1; shift
  if ! command -v "$1" >/dev/null; then
    printf '%-34s   (not installed)\n' "$label"
    return
  fi
  local t
  t=$(seconds "$@")
  awk -v l="$label" -v t="$t" -v o="$ours" 'BEGIN { printf "%-34s %8.3f s   %6.2fx ours\n", l, t, t / o }'
}
compare "unrtf --text" unrtf --text "$file"
compare "pandoc -f rtf -t plain" pandoc -f rtf -t plain "$file"
compare "soffice --convert-to txt" soffice "-env:UserInstallation=file://$work/profile" \
  --headless --convert-to txt:Text --outdir "$work/out" "$file"
