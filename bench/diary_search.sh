#!/usr/bin/env bash
# Find in Diary and the Diary Calendar on ten years of generated diary (3,650 entries of
# 2 to 20 KB, formatted, some with a picture), then grep over the same files for one
# word, which finds neither a word that formatting splits nor an accent left out.
#   bench/diary_search.sh        (builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/prepare.sh
build_release -- diary_search
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "machine: $(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
QT_QPA_PLATFORM=offscreen build/release/bin/diary_search "$work" 2>/dev/null
echo "diary: $(ls "$work/Diary" | wc -l) entries, $(du -sh "$work/Diary" | cut -f1)"
start=$(date +%s%N)
found=$(grep -rli 'dorsin' "$work/Diary" | wc -l)
end=$(date +%s%N)
awk -v n=$(( end - start )) -v f="$found" 'BEGIN { printf "grep -rli over the same files     : %8.1f ms (%d entries)\n", n / 1e6, f }'
