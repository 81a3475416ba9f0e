#!/usr/bin/env bash
# Builds ORVANEL (release) and starts it. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
program=build/release/bin/orvanel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting ORVANEL under Xvfb (a virtual screen nobody sees)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
fi
exec "$program" "$@"
