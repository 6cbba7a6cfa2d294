#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test on SQLite and
# on a throwaway PostgreSQL server that the test run starts and stops itself.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
mkdir -p build/testhome/runtime && chmod 700 build/testhome/runtime
cd build
ctest --output-on-failure -j2 "$@"
