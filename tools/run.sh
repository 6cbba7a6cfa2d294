#!/usr/bin/env bash
# Installs what is missing, builds Tavrin and starts it on the embedded database.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build --target tavrin tavrin-cli
exec build/src/tavrin "$@"
