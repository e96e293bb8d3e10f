#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the two .deb packages from a configured build folder, checks them with lintian (no
# error, no warning) and appstreamcli, unpacks them into a scratch root, and checks that both
# programs run from there, find their data, and that an import by a user who is not root
# goes to that user's data folder.
# Usage: tools/package-smoke.sh [build folder, default build/dev]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
rm -f "$build"/haoma_*.deb "$build"/haoma-data_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/haoma_*.deb | head -1)
data=$(ls -t "$build"/haoma-data_*.deb | head -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"
echo "packages: $(basename "$deb") $(basename "$data")"
echo "depends: $(dpkg-deb -f "$deb" Depends)"
# The boxes' editing component is a shared library of its own.
dpkg-deb -f "$deb" Depends | grep -q 'libqscintilla2-qt6-' ||
  { echo "haoma does not depend on the boxes' editing component"; exit 1; }
[ "$(dpkg-deb -f "$data" Architecture)" = all ] || { echo "haoma-data is not Architecture: all"; exit 1; }

tags=$(lintian --tag-display-limit 0 "$deb" "$data" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$tags" ] || { echo "lintian:"; echo "$tags"; exit 1; }
echo "lintian: no error, no warning"

dpkg-deb -x "$deb" "$root"
dpkg-deb -x "$data" "$root"
# The menu entry: no error, no warning, not even a hint.
said=$(desktop-file-validate "$root/usr/share/applications/haoma.desktop" 2>&1 || echo failed)
[ -z "$said" ] || { echo "desktop-file-validate:"; echo "$said"; exit 1; }
echo "desktop entry: clean"
for file in usr/bin/haoma usr/bin/haoma-cli usr/share/haoma/mobile.db usr/share/haoma/haoma-help.html \
            usr/share/applications/haoma.desktop usr/share/icons/hicolor/scalable/apps/haoma.svg \
            usr/share/icons/hicolor/48x48/apps/haoma.png usr/share/metainfo/io.github.haoma.metainfo.xml \
            usr/share/man/man1/haoma.1.gz usr/share/man/man1/haoma-cli.1.gz \
            usr/share/bash-completion/completions/haoma-cli usr/share/zsh/vendor-completions/_haoma-cli \
            usr/share/fish/vendor_completions.d/haoma-cli.fish \
            usr/share/doc/haoma/copyright usr/share/doc/haoma-data/copyright \
            usr/share/doc/haoma-data/segments-2025-02.NOTICE.md; do
  [ -f "$root/$file" ] || { echo "missing in the packages: $file"; exit 1; }
done
[ "$(dpkg-deb -c "$deb" | grep -c 'mobile.db')" = 0 ] || { echo "the store is in haoma, not haoma-data"; exit 1; }
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.haoma.metainfo.xml" >/dev/null
echo "appstreamcli: valid"
bash -n "$root/usr/share/bash-completion/completions/haoma-cli"
# The completion works in a plain bash, without the bash-completion package's helpers.
completed=$(bash --norc --noprofile -c 'source "$1"
  COMP_WORDS=(haoma-cli qu); COMP_CWORD=1; _haoma_cli; echo "${COMPREPLY[*]}"
  COMP_WORDS=(haoma-cli all --wh); COMP_CWORD=2; _haoma_cli; echo "${COMPREPLY[*]}"
  COMP_WORDS=(haoma-cli import "$2/"); COMP_CWORD=2; _haoma_cli; echo "${#COMPREPLY[@]}"' \
  _ "$root/usr/share/bash-completion/completions/haoma-cli" "$root/usr/share")
expected="query
--whole-number
$(find "$root/usr/share" -mindepth 1 -maxdepth 1 | wc -l)"
[ "$completed" = "$expected" ] ||
  { echo "bash completion without bash-completion: got: $completed"; exit 1; }
echo "bash completion: works without bash-completion's helpers"

# Both programs answer --version and --help without a window (and without a display).
(unset DISPLAY QT_QPA_PLATFORM; "$root/usr/bin/haoma" --version | grep -q '^haoma ' &&
  "$root/usr/bin/haoma" --help | grep -q 'haoma-cli') || { echo "haoma --version/--help failed"; exit 1; }
version=$(HOME=$root/nohome "$root/usr/bin/haoma-cli" --version)
echo "$version" | grep -q "segment data file: $root/usr/bin/../share/haoma/mobile.db" ||
  { echo "haoma-cli did not find its installed store:"; echo "$version"; exit 1; }
echo "$version" | grep -q "segment data edition: 2025-02" || { echo "no edition in: $version"; exit 1; }
rows=$(HOME=$root/nohome "$root/usr/bin/haoma-cli" query 北京 | wc -l)
[ "$rows" -gt 18000 ] || { echo "query from the installed store gave $rows rows"; exit 1; }

# An import by a user who is not root goes to that user's data folder, nowhere else.
if [ "$(id -u)" = 0 ] && id nobody >/dev/null 2>&1; then
  home=$root/home
  mkdir -p "$home" && chown nobody "$home"
  printf 'Mobile,City,Corp\n1300000,济南,联通\n' > "$root/mine.csv" && chmod 644 "$root/mine.csv"
  before=$(find "$root/usr" | sort | md5sum)
  runuser -u nobody -- env HOME="$home" XDG_DATA_HOME= "$root/usr/bin/haoma-cli" import "$root/mine.csv" 2>/dev/null
  [ -f "$home/.local/share/haoma/mobile.db" ] || { echo "the import did not go to the user's folder"; exit 1; }
  [ "$(find "$root/usr" | sort | md5sum)" = "$before" ] || { echo "the import wrote into the install"; exit 1; }
  [ "$(runuser -u nobody -- env HOME="$home" "$root/usr/bin/haoma-cli" query 济南)" = 1300000 ] ||
    { echo "the user's store is not used first"; exit 1; }
  echo "import as nobody: went to ~/.local/share/haoma"
else
  echo "import as another user: skipped (needs root and the user nobody)"
fi

# The window starts offscreen and keeps running until it is stopped.
status=0
(cd / && HOME=$root/nohome QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/haoma" >/dev/null 2>&1) || status=$?
[ "$status" -eq 124 ] || { echo "haoma ended early with status $status"; exit 1; }
echo "package smoke test: ok (haoma-cli found $rows segments of 北京; haoma ran offscreen)"
