#!/usr/bin/env bash
# Builds the Debian package from the build tree's programs, unpacks it and
# runs the packaged tavrin-cli: its version is the project's, and the package
# carries the desktop entry, the icon and the run-time dependencies.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
B=$1 V=$2
for p in tavrin tavrin-cli; do
  [ -x "$B/src/$p" ] || { echo "build $p first (cmake --build $B --target $p)"; exit 1; }
done
T=$(mktemp -d "$B/package-test.XXXXXX")
trap 'rm -rf "$T"' EXIT
(cd "$B" && cpack -G DEB -B "$T" >"$T/cpack.log" 2>&1) || { cat "$T/cpack.log"; exit 1; }
deb="$T/tavrin_${V}_amd64.deb"
[ -f "$deb" ] || { echo "no $deb"; ls "$T"; exit 1; }
dpkg-deb -x "$deb" "$T/root"
got=$("$T/root/usr/bin/tavrin-cli" --version)
[ "$got" = "tavrin-cli $V" ] || { echo "packaged tavrin-cli --version: '$got'"; exit 1; }
"$T/root/usr/bin/tavrin-cli" words 1250 | grep -q . || { echo "packaged tavrin-cli words failed"; exit 1; }
[ -x "$T/root/usr/bin/tavrin" ] || { echo "no packaged tavrin"; exit 1; }
desktop="$T/root/usr/share/applications/tavrin.desktop"
grep -qx 'Exec=tavrin' "$desktop" && grep -qx 'Icon=tavrin' "$desktop" && grep -q '^Name\[fa\]=' "$desktop" \
  || { echo "desktop entry incomplete"; cat "$desktop"; exit 1; }
[ -s "$T/root/usr/share/icons/hicolor/scalable/apps/tavrin.svg" ] || { echo "no icon"; exit 1; }
deps=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6sql6-sqlite libqt6sql6-psql fonts-noto-core qt6-translations-l10n; do
  case "$deps" in *"$d"*) ;; *) echo "Depends lacks $d: $deps"; exit 1 ;; esac
done
echo "ok: $(basename "$deb") ($got)"
