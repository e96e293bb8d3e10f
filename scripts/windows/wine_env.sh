# SPDX-License-Identifier: MIT
# The environment in which Windows programs built here run under Wine (sourced with the
# cache folder and the dependencies' prefix): a Wine prefix of the build's own, the DLLs of
# Qt and of the toolchain on Wine's path, Qt's plugins, no Wine chatter.
cache=$1
prefix=$2
export WINEPREFIX=$cache/wine-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
toolchain_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="$prefix/bin;$toolchain_dlls;/usr/x86_64-w64-mingw32/lib"
export QT_PLUGIN_PATH=$prefix/plugins
if [ ! -f "$WINEPREFIX/.made" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver --wait
  # A Chinese face for the window: Wine has none of its own.
  cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  touch "$WINEPREFIX/.made"
fi
