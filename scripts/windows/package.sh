#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Packs the Windows build: a portable folder (the two programs, the DLLs they need and
# nothing more, Qt's Chinese translations, the segment store, the help page, the licences)
# as haoma-VERSION-win64.zip, and the NSIS installer haoma-VERSION-setup.exe.
#   scripts/windows/package.sh BUILD PREFIX OUTPUT
set -euo pipefail
build=$1
prefix=$2
mkdir -p "$3"
out=$(cd "$3" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
version=$(sed -n 's/^project(haoma VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
folder=$out/haoma-$version-win64
rm -rf "$folder"
mkdir -p "$folder/platforms" "$folder/styles" "$folder/translations"
cp "$build/bin/haoma.exe" "$build/bin/haoma-cli.exe" "$build/bin/mobile.db" \
   "$build/bin/haoma-help.html" "$folder/"
cp "$prefix/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$folder/translations/"
cp "$root/LICENSE" "$folder/LICENSE.txt"
cp "$root/data/segments/segments-2025-02.NOTICE.md" "$folder/segments-NOTICE.md"
# The DLLs the programs and plugins import, found by walking their imports: Qt's, QScintilla's
# and the toolchain's; the system's own are left to Windows.
toolchain=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
search=("$prefix/bin" "$toolchain" /usr/x86_64-w64-mingw32/lib)
declare -A seen=()
queue=("$folder/haoma.exe" "$folder/haoma-cli.exe" "$folder/platforms/qwindows.dll"
       "$folder/styles/qwindowsvistastyle.dll")
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | awk '/DLL Name:/ {print $3}'); do
    [ -n "${seen[$dll]:-}" ] && continue
    seen[$dll]=1
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$folder/"
        queue+=("$folder/$dll")
        break
      fi
    done
  done
done
x86_64-w64-mingw32-strip "$folder"/*.exe "$folder"/*.dll "$folder"/*/*.dll
# Qt finds its plugins and translations beside the programs.
printf '[Paths]\nPlugins = .\nTranslations = translations\n' > "$folder/qt.conf"
(cd "$out" && rm -f "haoma-$version-win64.zip" && zip -qr9 "haoma-$version-win64.zip" "haoma-$version-win64")
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DOUTFILE="$out/haoma-$version-setup.exe" \
  -DICON="$root/data/icons/haoma.ico" "$here/installer.nsi"
echo "$out/haoma-$version-win64.zip ($(du -h "$out/haoma-$version-win64.zip" | cut -f1))"
echo "$out/haoma-$version-setup.exe ($(du -h "$out/haoma-$version-setup.exe" | cut -f1))"
