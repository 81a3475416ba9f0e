#!/usr/bin/env bash
# Builds the release configuration with its tests and the sanitizer configuration, and
# runs every test in both.
set -uo pipefail
cd "$(dirname "$0")"
# LibreOffice is only for the test that passes our RTF through a real word processor;
# python3-vobject is the second vCard reader our exports are checked with. The installed
# program is checked with the desktop's validators and used on a screen of its own
# (openbox, xdotool) read over the accessibility bus; its package needs dpkg-dev and file.
scripts/install-deps.sh libreoffice-writer-nogui python3-vobject \
  desktop-file-utils appstream openbox xdotool python3-pyatspi at-spi2-core dbus-daemon \
  dpkg-dev file || exit 1

status=0
for preset in tests asan; do
  echo "=== $preset: build"
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" || exit 1
done
echo "=== tests: package"
cmake --build --preset tests --target package >/dev/null || exit 1
for preset in tests asan; do
  echo "=== $preset: tests"
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2 || status=1
done
exit $status
