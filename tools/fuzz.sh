#!/usr/bin/env bash
# Runs the libFuzzer programs of a build configured with TAVRIN_FUZZ=ON, each
# for a bounded time over a copy of its seed corpus (tests/fuzz/corpus/<name>).
#   tools/fuzz.sh BUILD_DIR [SECONDS_PER_TARGET] [NAME...]
# A crash, hang (10 s for one input), leak or sanitizer report stops that
# target; its input is kept as BUILD_DIR/fuzz-out/<name>/crash-* (or timeout-*,
# leak-*, oom-*) and the script fails after running the others.
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:?build directory}
SECONDS_EACH=${2:-60}
shift $(( $# >= 2 ? 2 : $# ))
NAMES=("$@")
if [ ${#NAMES[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do n=$(basename "$f" .cpp); NAMES+=("${n#fuzz_}"); done
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:suppressions=$PWD/tests/sanitizer/asan.supp}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
failed=()
for n in "${NAMES[@]}"; do
  exe="$BUILD/tests/fuzz/fuzz_$n"
  out="$BUILD/fuzz-out/$n"
  rm -rf "$out"; mkdir -p "$out/corpus"
  cp -r "tests/fuzz/corpus/$n/." "$out/corpus/" 2>/dev/null || true
  echo "fuzz_$n: ${SECONDS_EACH}s"
  if ! "$exe" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" >"$out/log" 2>&1; then
    failed+=("$n")
    echo "fuzz_$n FAILED (log: $out/log)"; tail -40 "$out/log"
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$out/log" | tr '\n' ' '; echo
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz targets failing: ${failed[*]}"; exit 1; }
