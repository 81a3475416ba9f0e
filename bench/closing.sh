#!/usr/bin/env bash
# Closing time: from the window manager's close of the main window to the end of the
# process, on an Xvfb screen with openbox, for an idle main window and for one whose
# diary entry was typed into, copied to the clipboard and closed without saving.
# Prints the median of each.
#   bench/closing.sh [runs]     (default 10; builds the release preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
. bench/prepare.sh
build_release openbox xdotool wmctrl -- orvanel
program=$PWD/build/release/bin/orvanel

export ORVANEL_HOME XDG_CONFIG_HOME XDG_STATE_HOME DISPLAY=:$((90 + RANDOM % 9))
ORVANEL_HOME=$(mktemp -d)
XDG_CONFIG_HOME="$ORVANEL_HOME/config"
XDG_STATE_HOME="$ORVANEL_HOME/state"
# No tip of the day in the way of the keys.
mkdir -p "$XDG_CONFIG_HOME/orvanel"
printf '[Options]\nShow Tips at Startup=0\n' >"$XDG_CONFIG_HOME/orvanel/orvanel.ini"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$ORVANEL_HOME"' EXIT
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

now() { date +%s%N; }

# One run: prints the milliseconds from the close to the end of the process.
close_once() {
  "$program" 2>/dev/null &
  local pid=$! window=""
  for _ in $(seq 100); do
    window=$(xdotool search --pid "$pid" --name '^ORVANEL$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.05
  done
  sleep 0.5
  if [ "$1" = typed ]; then
    xdotool windowactivate --sync "$window" key ctrl+F5
    sleep 0.3
    xdotool type "a diary entry"
    xdotool key ctrl+a ctrl+c ctrl+F4
    sleep 0.3
    xdotool key n # do not save it
    sleep 0.3
  fi
  local start
  start=$(now)
  wmctrl -c ORVANEL
  while kill -0 "$pid" 2>/dev/null; do
    if [ $(( ($(now) - start) / 1000000 )) -gt 10000 ]; then kill -9 "$pid"; break; fi
    sleep 0.005
  done
  echo $(( ($(now) - start) / 1000000 ))
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for scenario in idle typed; do
  result=$(for _ in $(seq "$runs"); do close_once "$scenario"; done | median)
  printf '%-6s: close to end of process, median of %s: %s ms\n' "$scenario" "$runs" "$result"
done
