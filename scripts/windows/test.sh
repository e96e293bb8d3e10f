#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows build under Wine: the whole test suite (offscreen), Ctrl-C on a console, the
# packed folder on its own (no build paths on Wine's search path): byte-identical output
# against the Linux build and the real window on Xvfb, then the installer.
#   scripts/windows/test.sh BUILD OUTPUT     (with the environment of wine_env.sh)
set -euo pipefail
build=$1
out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(haoma VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
linux_cli=${HAOMA_LINUX_CLI:-$root/build/dev/bin/haoma-cli}
[ -x "$linux_cli" ] || bash "$root/scripts/build.sh" dev

echo "== the test suite under Wine"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j "$(nproc)" --timeout 900 --output-on-failure)

echo "== Ctrl-C through the console handler (on a console, which script(1) gives Wine)"
HAOMA_ON_A_CONSOLE=1 script -qec "wine '$build/bin/cli_windows_test.exe' --gtest_filter='*CtrlC*'" \
  /dev/null >"$build/ctrl-c.log" || { sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' "$build/ctrl-c.log"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/解压 目录/haoma-$version-win64"
mkdir -p "$work/解压 目录"
unzip -q "$out/haoma-$version-win64.zip" -d "$work/解压 目录"
(
  # The packed folder alone: what it needs, it carries.
  unset WINEPATH QT_PLUGIN_PATH
  echo "== byte-identical output of the packed haoma-cli.exe"
  bash "$root/tests/windows/same_output_test.sh" "$linux_cli" "$folder/haoma-cli.exe"
  echo "== the packed haoma.exe on Xvfb"
  bash "$root/tests/windows/window_test.sh" "$folder" "$linux_cli" "$out/window-under-wine.png"
)
echo "== the installer"
bash "$root/tests/windows/installer_test.sh" "$out/haoma-$version-setup.exe"
