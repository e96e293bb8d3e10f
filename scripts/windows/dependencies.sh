#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds haoma's Windows dependencies from Debian's source packages into a cache keyed by
# their versions, their options and the toolchain, so that a second run rebuilds only haoma:
#   scripts/windows/dependencies.sh CACHE     prints the prefix that holds them all
# Each stage counts only once its stamp is written, after a complete build and install; a
# prefix of another key is removed, a stage without its stamp built again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
cache=${1:?cache folder}
mkdir -p "$cache/src"

toolchain=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)

# The versions Debian serves for each source package, as apt sees them now.
qt_version=$(source_version qt6-base)
qsci_version=$(source_version qscintilla2)
sqlite_version=$(source_version sqlite3)
gtest_version=$(source_version googletest)

qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF
  -DFEATURE_androiddeployqt=OFF
  # Debian's source lacks wintab.h (its licence), so tablet events stay off; OpenGL stays
  # dynamic because 6.4's Windows plugin does not compile without it.
  -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_printsupport=ON -DFEATURE_testlib=ON -DFEATURE_widgets=ON
)

key=$(printf '%s\n' "$toolchain" "qt $qt_version ${qt_options[*]}" "qsci $qsci_version" \
  "sqlite $sqlite_version" "gtest $gtest_version" "$(cat "$here/qscintilla.cmake" "$here/sqlite.cmake")" |
  sha256sum | cut -c1-16)
prefix=$cache/prefix-$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# Nothing stale is trusted: only the prefix of this key survives, and in it only the stages
# whose stamps say they completed.
find "$cache" -mindepth 1 -maxdepth 1 -name 'prefix-*' ! -name "prefix-$key" -exec rm -rf {} +
mkdir -p "$prefix"
work=$cache/work
log() { echo "[windows deps] $*" >&2; }

build_qt() {
  unpack qt6-base "$work/qtbase"
  nice -n 10 cmake -G Ninja -S "$work/qtbase" -B "$work/qtbase-build" \
    -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/windows/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" >"$work/qtbase.log" 2>&1 ||
    fail "$work/qtbase.log"
  nice -n 10 cmake --build "$work/qtbase-build" -j "$(nproc)" >>"$work/qtbase.log" 2>&1 ||
    fail "$work/qtbase.log"
  cmake --install "$work/qtbase-build" >>"$work/qtbase.log" 2>&1 || fail "$work/qtbase.log"
}

build_qscintilla() {
  unpack qscintilla2 "$work/qscintilla"
  build_cmake "$here/qscintilla.cmake" "$work/qscintilla" qscintilla "$prefix"
}

build_sqlite() {
  unpack sqlite3 "$work/sqlite"
  # The amalgamation is generated on the build machine (it needs tclsh), then cross-compiled.
  (cd "$work/sqlite" && ./configure && make sqlite3.c) >"$work/sqlite.log" 2>&1 ||
    fail "$work/sqlite.log"
  build_cmake "$here/sqlite.cmake" "$work/sqlite" sqlite "$prefix"
}

build_googletest() {
  unpack googletest "$work/googletest"
  { nice -n 10 cmake -G Ninja -S "$work/googletest" -B "$work/googletest-build" \
      -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/windows/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" &&
    cmake --build "$work/googletest-build" -j "$(nproc)" &&
    cmake --install "$work/googletest-build"; } >"$work/googletest.log" 2>&1 ||
    fail "$work/googletest.log"
}

# CLI11 is header-only: the build machine's copy serves both targets.
copy_cli11() {
  mkdir -p "$prefix/include"
  cp -r /usr/include/CLI "$prefix/include/"
}

stage "qt-$qt_version" build_qt
stage "qscintilla-$qsci_version" build_qscintilla
stage "sqlite-$sqlite_version" build_sqlite
stage "googletest-$gtest_version" build_googletest
stage cli11 copy_cli11
printf '%s\n' "$toolchain" "qt $qt_version" "qscintilla $qsci_version" "sqlite $sqlite_version" \
  "googletest $gtest_version" >"$prefix/.complete"
echo "$prefix"
