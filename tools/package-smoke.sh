#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the .deb from a configured build folder, unpacks it into a scratch root, and checks
# that both programs run from there and find their data.
# Usage: tools/package-smoke.sh [build folder, default build/dev]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/haoma_*.deb | head -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
echo "package: $(basename "$deb")"
echo "depends: $(dpkg-deb -f "$deb" Depends)"
for file in usr/bin/haoma usr/bin/haoma-cli usr/share/haoma/mobile.db usr/share/haoma/haoma-help.html \
            usr/share/applications/haoma.desktop usr/share/icons/hicolor/scalable/apps/haoma.svg \
            usr/share/icons/hicolor/48x48/apps/haoma.png usr/share/man/man1/haoma-cli.1 \
            usr/share/doc/haoma/copyright usr/share/doc/haoma/segments-2025-02.NOTICE.md; do
  [ -f "$root/$file" ] || { echo "missing in the package: $file"; exit 1; }
done
version=$("$root/usr/bin/haoma-cli" --version)
echo "$version" | grep -q "segment data file: $root/usr/bin/../share/haoma/mobile.db" ||
  { echo "haoma-cli did not find its installed store:"; echo "$version"; exit 1; }
rows=$("$root/usr/bin/haoma-cli" query 北京 | wc -l)
[ "$rows" -gt 18000 ] || { echo "query from the installed store gave $rows rows"; exit 1; }
# The window starts offscreen and keeps running until it is stopped.
status=0
(cd / && QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/haoma" >/dev/null 2>&1) || status=$?
[ "$status" -eq 124 ] || { echo "haoma ended early with status $status"; exit 1; }
echo "package smoke test: ok (haoma-cli found $rows segments of 北京; haoma ran offscreen)"
