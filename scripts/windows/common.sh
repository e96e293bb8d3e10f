# SPDX-License-Identifier: MIT
# Helpers shared by the Windows build scripts (sourced, not run).

# The version of a Debian source package that apt would fetch now.
source_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ {print $2}' | sort -V | tail -n 1
}

# Unpacks a Debian source package, its patches applied, into DIR (fetched into the cache).
unpack() {
  local package=$1 dir=$2 version
  version=$(source_version "$package")
  (cd "$cache/src" && [ -n "$(ls "${package}_${version#*:}".dsc 2>/dev/null)" ] ||
    apt-get source --download-only -qq "$package=$version" >/dev/null 2>&1) ||
    { echo "cannot fetch the Debian source of $package $version" >&2; exit 1; }
  rm -rf "$dir"
  dpkg-source -x "$cache/src/${package}_${version#*:}.dsc" "$dir" >/dev/null
}

# Configures, builds and installs SOURCE with a CMake project file of ours into PREFIX.
build_cmake() {
  local project=$1 source=$2 name=$3 prefix=$4
  local dir=$work/$name-project
  mkdir -p "$dir"
  cp "$project" "$dir/CMakeLists.txt"
  { nice -n 10 cmake -G Ninja -S "$dir" -B "$work/$name-build" -DSOURCE_DIR="$source" \
      -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/windows/mingw-w64.cmake" \
      -DHAOMA_WINDOWS_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DCMAKE_INSTALL_PREFIX="$prefix" &&
    nice -n 10 cmake --build "$work/$name-build" -j "$(nproc)" &&
    cmake --install "$work/$name-build"; } >"$work/$name.log" 2>&1 || fail "$work/$name.log"
}

# Shows the end of a failed step's log and stops.
fail() {
  echo "[windows] failed; the end of $1:" >&2
  tail -n 40 "$1" >&2
  exit 1
}

# Runs a build stage once per prefix: its stamp says it completed, with the stage's
# description; a stage whose stamp is missing is built again from a clean start.
stage() {
  local name=$1
  shift
  if [ -f "$prefix/.stage-$name" ]; then
    return 0
  fi
  log "$name"
  rm -rf "$work"
  mkdir -p "$work"
  "$@"
  rm -rf "$work"
  echo "$name" >"$prefix/.stage-$name"
}
