#!/usr/bin/env bash
# tools/test.sh          Installs what is missing, builds everything and runs
#                        the whole suite on SQLite and on a throwaway PostgreSQL
#                        server that the test run starts and stops itself.
# tools/test.sh --deep   The long checks, after the normal suite: the whole
#                        suite again in a clang build with AddressSanitizer and
#                        UndefinedBehaviorSanitizer (build-asan; the benchmarks
#                        and the package test are left out there), each fuzz
#                        target for TAVRIN_FUZZ_SECONDS (30) over its seed
#                        corpus, and the benchmarks with their time bounds
#                        enforced (TAVRIN_BENCH_STRICT=1).
# Further arguments go to ctest (e.g. -R tst_customers).
set -euo pipefail
cd "$(dirname "$0")/.."
deep=0
if [ "${1:-}" = "--deep" ]; then deep=1; shift; fi

# The build tree of the normal suite: unity batches, the precompiled Qt
# headers and shared libraries keep a build from a fresh clone short.
configure() {
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON "${@:2}" >/dev/null
}
run_suite() {
  mkdir -p "$1/testhome/runtime" && chmod 700 "$1/testhome/runtime"
  (cd "$1" && ctest --output-on-failure -j2 "${@:2}")
}

if [ $deep = 0 ]; then
  tools/deps.sh --test
  configure build
  cmake --build build
  run_suite build "$@"
  exit 0
fi

tools/deps.sh --deep
# The benchmarks of the normal build, their times now failing the test.
configure build
cmake --build build
TAVRIN_BENCH_STRICT=1 run_suite build -R '_bench(_sqlite|_pg)?$' "$@"

# Any report stops the program with a failing status; leaks are suppressed only
# inside the system libraries listed in tests/sanitizer/lsan.supp.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_odr_violation=0:suppressions=$PWD/tests/sanitizer/asan.supp"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$PWD/tests/sanitizer/ubsan.supp"
configure build-asan -DCMAKE_CXX_COMPILER=clang++ -DTAVRIN_FUZZ=ON
cmake --build build-asan
run_suite build-asan -E '_bench(_sqlite|_pg)?$|^package_deb$' "$@"
tools/fuzz.sh build-asan "${TAVRIN_FUZZ_SECONDS:-30}"
