#!/usr/bin/env bash
# Start-up time: from process start to the main window shown and the event loop idle,
# for ORVANEL and for a bare Qt program showing one empty window, in one run on one
# Xvfb screen. Prints the median of each and their ratio.
#   bench/startup.sh [runs]     (default 10; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target orvanel startup_baseline >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$runs"
fi

export ORVANEL_HOME
ORVANEL_HOME=$(mktemp -d)
export XDG_CONFIG_HOME="$ORVANEL_HOME/config"
trap 'rm -rf "$ORVANEL_HOME"' EXIT

measure() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    ORVANEL_QUIT_WHEN_IDLE=1 "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2))}'
}

run() {
  local baseline program
  baseline=$(measure build/release/bin/startup_baseline)
  program=$(measure build/release/bin/orvanel)
  echo "runs: $runs (median), $(nproc) cores, $(uname -m), display: ${DISPLAY:-none}"
  awk -v b="$baseline" -v p="$program" 'BEGIN {
    printf "bare Qt window : %6.1f ms\n", b / 1000
    printf "ORVANEL        : %6.1f ms\n", p / 1000
    printf "ratio          : %6.2f\n", p / b }'
}

run
