#!/usr/bin/env bash
# Fuzzes a reader for SECONDS (default 600) on one core: the RTF reader (rtf, the
# default) or the readers of vCard and CSV files (contacts).
#   fuzz/run.sh [SECONDS] [rtf|contacts]
# The corpus grows in fuzz/corpus-run/ or fuzz/corpus-contacts/ (not in git), starting
# from seeds that are only read: for RTF fuzz/seeds/, fuzz/regressions/ and large seeds
# that rtf-hostile writes (every hostile kind at 200 KB), with fuzz/rtf.dict giving the
# fuzzer the reader's control words; for contacts the hand-written files of
# tests/contacts/data/. A crash, a hang or a failed check leaves its input in the
# corpus folder's artifacts/ and makes this script exit non-zero; put an RTF one, small,
# in fuzz/regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
reader=${2:-rtf}
scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build() {
  cmake --build build/fuzz --target "$@" -j1 -- -j1 >/dev/null 2>&1 ||
    cmake --build build/fuzz --target "$@" -j1
}
limits=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=1048576
  -print_final_stats=1)

if [ "$reader" = contacts ]; then
  build fuzz_contactfile
  mkdir -p fuzz/corpus-contacts/queue fuzz/corpus-contacts/artifacts
  exec build/fuzz/bin/fuzz_contactfile fuzz/corpus-contacts/queue tests/contacts/data \
    "${limits[@]}" -artifact_prefix=fuzz/corpus-contacts/artifacts/
fi

build fuzz_rtfreader rtf-hostile
mkdir -p fuzz/corpus-run/queue fuzz/corpus-run/artifacts fuzz/corpus-run/large-seeds
for kind in $(build/fuzz/bin/rtf-hostile list | awk '{ print $1 }'); do
  build/fuzz/bin/rtf-hostile "$kind" 200000 "fuzz/corpus-run/large-seeds/$kind.rtf"
done
exec build/fuzz/bin/fuzz_rtfreader fuzz/corpus-run/queue fuzz/seeds fuzz/regressions \
  fuzz/corpus-run/large-seeds -dict=fuzz/rtf.dict "${limits[@]}" \
  -artifact_prefix=fuzz/corpus-run/artifacts/
