#!/usr/bin/env bash
# Line coverage of the program's own code (not the tests, benchmarks or fuzzers) by the
# whole test suite: builds the "coverage" preset, runs every test but the installed
# package's (which runs a packaged build), and prints the totals; the file-by-file
# report is written to build/coverage/coverage.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh gcovr libreoffice-writer-nogui python3-vobject
cmake --preset coverage >/dev/null
cmake --build --preset coverage
# Counters of an earlier run go, and so do the notes of files that are no longer built.
find build/coverage -name '*.gcda' -delete
ninja -C build/coverage -t cleandead >/dev/null
find build/coverage -name '*.gcno' | while read -r notes; do
  [ -f "${notes%.gcno}.o" ] || rm -f "$notes"
done
QT_QPA_PLATFORM=offscreen ctest --preset coverage -j2 || true
gcovr --root . build/coverage --exclude 'tests/' --exclude 'bench/' --exclude 'fuzz/' \
  --exclude 'build/' -j2 --print-summary --output build/coverage/coverage.txt
