#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test on SQLite and
# on a throwaway PostgreSQL server that the test run starts and stops itself.
# Then, unless TAVRIN_SKIP_SANITIZERS=1, the sanitizer stage: the whole suite
# again in a clang build with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan; the benchmarks and the package test are left out there), and
# each fuzz target for TAVRIN_FUZZ_SECONDS (30) over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
mkdir -p build/testhome/runtime && chmod 700 build/testhome/runtime
(cd build && ctest --output-on-failure -j2 "$@")

if [ "${TAVRIN_SKIP_SANITIZERS:-0}" = 1 ]; then
  echo "sanitizer stage skipped (TAVRIN_SKIP_SANITIZERS=1)"
  exit 0
fi
# Any report stops the program with a failing status; leaks are suppressed only
# inside the system libraries listed in tests/sanitizer/lsan.supp.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_odr_violation=0:suppressions=$PWD/tests/sanitizer/asan.supp"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$PWD/tests/sanitizer/ubsan.supp"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DTAVRIN_FUZZ=ON >/dev/null
cmake --build build-asan
mkdir -p build-asan/testhome/runtime && chmod 700 build-asan/testhome/runtime
(cd build-asan && ctest --output-on-failure -j2 -E '_bench(_sqlite|_pg)?$|^package_deb$')
tools/fuzz.sh build-asan "${TAVRIN_FUZZ_SECONDS:-30}"
