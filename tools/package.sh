#!/usr/bin/env bash
# Builds the Debian package tavrin_<version>_amd64.deb from the build tree
# (build/ unless another is given) and prints its path.
#   tools/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
B=${1:-build}
tools/deps.sh
if [ ! -f "$B/CMakeCache.txt" ]; then
  launcher=(); command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
cmake --build "$B" --target tavrin tavrin-cli
(cd "$B" && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls "$B"/package/tavrin_*_amd64.deb)
echo "$deb"
