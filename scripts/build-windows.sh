#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds haoma for 64-bit Windows on this Debian machine, from Debian's own packages and
# sources only: installs what is missing, cross-builds Qt, QScintilla, SQLite and GoogleTest
# once (cached in $HAOMA_BUILD_CACHE, by default /var/cache/haoma-build), then haoma with the
# same CMake project and a toolchain file, and packs build/windows/haoma-VERSION-win64.zip
# and build/windows/haoma-VERSION-setup.exe (NSIS).
#   bash scripts/build-windows.sh            build and pack
#   bash scripts/build-windows.sh --test     also run the test suite and the checks under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
testing=false
[ "${1:-}" = --test ] && testing=true

bash scripts/windows/setup.sh
cache=${HAOMA_BUILD_CACHE:-/var/cache/haoma-build}
mkdir -p "$cache"
prefix=$(bash scripts/windows/dependencies.sh "$cache" | tail -n 1)
source scripts/windows/wine_env.sh "$cache" "$prefix"

build=$root/build/windows-build
cmake -G Ninja -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows/mingw-w64.cmake" \
  -DHAOMA_WINDOWS_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DHAOMA_BUILD_TESTS="$($testing && echo ON || echo OFF)" >/dev/null
cmake --build "$build" -j "$(nproc)"
bash scripts/windows/package.sh "$build" "$prefix" "$root/build/windows"

if $testing; then
  bash scripts/windows/test.sh "$build" "$root/build/windows"
fi
