#!/usr/bin/env bash
# The browser window against its floor, in one run on one Xvfb screen: the time from
# View > Web Browser to a local page's title in the caption, for the first window (engine
# start included) and a second one, and the memory of the program and its processes with
# one window open; the same for a program that only shows one QWebEngineView, in a window
# of its own (the floor) and as a maximized sub-window of a multiple-document area.
#   bench/browser.sh [runs]     (default 5; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
. bench/prepare.sh
build_release -- browser_open browser_floor orvanel_webengine
on_a_screen "$0" "$runs"

page_dir=$(mktemp -d)
trap 'rm -rf "$page_dir"' EXIT
title="A local page"
cat >"$page_dir/page.html" <<HTML
<!DOCTYPE html><html><head><title>$title</title></head>
<body><h1>$title</h1><p>$(printf 'Some words of a diary entry. %.0s' $(seq 200))</p></body></html>
HTML
page="file://$page_dir/page.html"

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

measure() {
  local out=()
  local program=$1
  shift
  for _ in $(seq "$runs"); do out+=("$("$program" "$page" "$title" "$@" 2>/dev/null)"); done
  local column
  for column in 1 2 3; do
    printf '%s\n' "${out[@]}" | awk -v c=$column '{print $c}' | median
  done | xargs
}

echo "runs: $runs (median), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), display $DISPLAY"
read -r of os om <<<"$(measure build/release/bin/browser_open)"
read -r ff fs fm <<<"$(measure build/release/bin/browser_floor)"
read -r mf ms mm <<<"$(measure build/release/bin/browser_floor --mdi)"
awk -v of="$of" -v os="$os" -v om="$om" -v ff="$ff" -v fs="$fs" -v fm="$fm" \
    -v mf="$mf" -v ms="$ms" -v mm="$mm" 'BEGIN {
  printf "%-28s %10s %10s %6s %12s %6s\n", "", "ORVANEL", "floor", "ratio", "floor in MDI", "ratio"
  printf "%-28s %7.0f ms %7.0f ms %6.2f %9.0f ms %6.2f\n", "first window to its title", of, ff, of / ff, mf, of / mf
  printf "%-28s %7.0f ms %7.0f ms %6.2f %9.0f ms %6.2f\n", "second window to its title", os, fs, os / fs, ms, os / ms
  printf "%-28s %6.0f MiB %6.0f MiB %6.2f %8.0f MiB %6.2f\n", "memory, one window open", om, fm, om / fm, mm, om / mm }'
