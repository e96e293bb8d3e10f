#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what the Windows build needs, when missing: the MinGW-w64 toolchain with POSIX
# threads, NSIS, Wine, the tools that fetch and unpack Debian's source packages, and a deb-src
# entry for the machine's own mirror.
set -euo pipefail
packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  nsis wine wine64 dpkg-dev tcl zip unzip imagemagick xvfb xdotool xclip fonts-wqy-microhei
  qt6-translations-l10n
)
sources=/etc/apt/sources.list.d/haoma-deb-src.sources
if ! apt-get indextargets 2>/dev/null | grep -q 'MetaKey: main/source/Sources'; then
  if [ ! -f "$sources" ]; then
    # The same mirror and suites as the binary entries, for source packages.
    uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null ||
          true)
    cat > "$sources" <<SOURCES
Types: deb-src
URIs: ${uri:-http://deb.debian.org/debian}
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  fi
  refresh=yes
fi
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${refresh:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
