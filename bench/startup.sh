#!/usr/bin/env bash
# Start-up time: from process start to the main window shown and the event loop idle,
# for ORVANEL (its web browser in, loaded only when a browser window opens) and for a
# bare Qt program showing one empty window, in one run on one Xvfb screen; beside them
# the bare program with the OpenGL sharing a web engine needs set up at start, the
# documented way. Prints the median of each and the ratios to the bare window.
#   bench/startup.sh [runs]     (default 10; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
. bench/prepare.sh
build_release dbus-daemon -- orvanel orvanel_webengine startup_baseline
on_a_screen "$0" "$runs"
# A desktop session has a message bus, which the menu bar asks about a global menu; without
# one, the bus library would start one for each run (where dbus-launch is installed).
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$runs"
fi

export ORVANEL_HOME
ORVANEL_HOME=$(mktemp -d)
export XDG_CONFIG_HOME="$ORVANEL_HOME/config"
export XDG_STATE_HOME="$ORVANEL_HOME/state"
trap 'rm -rf "$ORVANEL_HOME"' EXIT

# One run of a command: microseconds from its start to its end.
once() {
  local start end
  start=$(date +%s%N)
  ORVANEL_QUIT_WHEN_IDLE=1 "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}

median() {
  sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2))}'
}

run() {
  # The three take turns, so that a machine busier for a while slows each alike.
  local baseline=() program=() shared=()
  for _ in $(seq "$runs"); do
    baseline+=("$(once build/release/bin/startup_baseline)")
    program+=("$(once build/release/bin/orvanel)")
    shared+=("$(once build/release/bin/startup_baseline --share-gl)")
  done
  local b p s
  b=$(printf '%s\n' "${baseline[@]}" | median)
  p=$(printf '%s\n' "${program[@]}" | median)
  s=$(printf '%s\n' "${shared[@]}" | median)
  echo "runs: $runs (median), $(nproc) cores, $(uname -m), display: ${DISPLAY:-none}"
  awk -v b="$b" -v p="$p" -v s="$s" 'BEGIN {
    printf "bare Qt window                      : %6.1f ms\n", b / 1000
    printf "ORVANEL                             : %6.1f ms  ratio %.2f\n", p / 1000, p / b
    printf "bare window, GL sharing set at start: %6.1f ms  ratio %.2f\n", s / 1000, s / b }'
}

run
