#!/usr/bin/env bash
# Fuzzes the RTF reader for SECONDS (default 600) on one core.
#   fuzz/run.sh [SECONDS]
# The corpus grows in fuzz/corpus-run/ (not in git), starting from fuzz/seeds/, which is
# only read. A crash, a leak-free hang or a failed check leaves its input in
# fuzz/corpus-run/artifacts/ and makes this script exit non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target fuzz_rtfreader -j1 -- -j1 >/dev/null 2>&1 ||
  cmake --build build/fuzz --target fuzz_rtfreader -j1
mkdir -p fuzz/corpus-run/queue fuzz/corpus-run/artifacts
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec build/fuzz/bin/fuzz_rtfreader fuzz/corpus-run/queue fuzz/seeds \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
  -artifact_prefix=fuzz/corpus-run/artifacts/ -print_final_stats=1
