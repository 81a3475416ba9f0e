#!/usr/bin/env bash
# Fuzzes the RTF reader for SECONDS (default 600) on one core.
#   fuzz/run.sh [SECONDS]
# The corpus grows in fuzz/corpus-run/ (not in git), starting from fuzz/seeds/ and
# fuzz/regressions/, which are only read, and from large seeds that rtf-hostile writes
# (every hostile kind at 200 KB). fuzz/rtf.dict gives the fuzzer the reader's control
# words. A crash, a hang or a failed check leaves its input in fuzz/corpus-run/artifacts/
# and makes this script exit non-zero; put it, small, in fuzz/regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target fuzz_rtfreader rtf-hostile -j1 -- -j1 >/dev/null 2>&1 ||
  cmake --build build/fuzz --target fuzz_rtfreader rtf-hostile -j1
mkdir -p fuzz/corpus-run/queue fuzz/corpus-run/artifacts fuzz/corpus-run/large-seeds
for kind in $(build/fuzz/bin/rtf-hostile list | awk '{ print $1 }'); do
  build/fuzz/bin/rtf-hostile "$kind" 200000 "fuzz/corpus-run/large-seeds/$kind.rtf"
done
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec build/fuzz/bin/fuzz_rtfreader fuzz/corpus-run/queue fuzz/seeds fuzz/regressions \
  fuzz/corpus-run/large-seeds -dict=fuzz/rtf.dict \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=1048576 \
  -artifact_prefix=fuzz/corpus-run/artifacts/ -print_final_stats=1
