#!/usr/bin/env bash
# Installs the Debian 12 packages Tavrin needs to build, run and test, when any is missing.
set -euo pipefail
PKGS=(build-essential cmake ninja-build pkg-config
      qt6-base-dev qt6-charts-dev qt6-translations-l10n qt6-gtk-platformtheme
      libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
      zlib1g-dev libminizip-dev libfreexl-dev
      tdsodbc libsodium-dev libsqlite3-dev qtkeychain-qt6-dev fonts-noto-core fonts-dejavu-core)
# --test: what the test suite uses; --deep: also the clang build with the
# sanitizers and the fuzzers (tools/test.sh --deep).
if [ "${1:-}" = "--test" ] || [ "${1:-}" = "--deep" ]; then
  PKGS+=(postgresql poppler-utils xlsx2csv python3-openpyxl sqlite3)
fi
if [ "${1:-}" = "--deep" ]; then
  PKGS+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=(); [ "$(id -u)" = 0 ] || SUDO=(sudo)
echo "installing: ${missing[*]}"
"${SUDO[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
