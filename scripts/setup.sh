#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages haoma needs to build, test and show its window, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libsqlite3-dev libphonenumber-dev libicu-dev xz-utils
  libcli11-dev libqscintilla2-qt6-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format dpkg-dev bc
  fontconfig fonts-wqy-microhei xvfb xauth imagemagick xdotool xclip xfce4-clipman openbox wmctrl x11-utils
  at-spi2-core python3-pyatspi python3-xlib dbus-x11
  lintian appstream util-linux desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
