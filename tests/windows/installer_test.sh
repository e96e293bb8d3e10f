#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installer under Wine, in a Wine prefix of its own: a silent install puts the programs in
# Program Files with a Start-menu entry and an uninstall entry; the installed haoma-cli finds
# its store; the uninstaller takes all of that away and leaves the user's own store.
#   tests/windows/installer_test.sh SETUP.exe
set -euo pipefail
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
export WINEPREFIX WINEDEBUG=-all
WINEPREFIX=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
unset WINEPATH QT_PLUGIN_PATH
wineboot --init >/dev/null 2>&1
wineserver --wait
drive=$WINEPREFIX/drive_c
installed="$drive/Program Files/haoma"
entry="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/全国手机号码生成器.lnk"
key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\haoma]'
# The name 全国手机号码生成器 as Wine keeps it in its registry file.
name='"DisplayName"="\x5168\x56fd\x624b\x673a\x53f7\x7801\x751f\x6210\x5668"'
uninstall_entry() { grep -F -A8 "$key" "$WINEPREFIX/system.reg" | grep -qF "$name"; }
fail() { echo "installer: $*" >&2; exit 1; }

wine "$setup" /S
wineserver --wait
[ -f "$installed/haoma.exe" ] && [ -f "$installed/haoma-cli.exe" ] || fail "no programs installed"
[ -f "$entry" ] || fail "no Start-menu entry"
uninstall_entry || fail "no uninstall entry"
cli="C:\\Program Files\\haoma\\haoma-cli.exe"
wine "$cli" --version | grep -q 'segment data file: C:\\Program Files\\haoma\\mobile.db' ||
  fail "the installed haoma-cli does not find its store"
# The user's own store, imported into %LOCALAPPDATA%\haoma, outlives the program.
printf 'Mobile,City,Corp\n1300000,济南,联通\n' >"$drive/users/Public/mine.csv"
wine "$cli" import 'C:\users\Public\mine.csv' 2>/dev/null
user_store=$(find "$drive/users" -path '*AppData/Local/haoma/mobile.db' | head -1)
[ -n "$user_store" ] || fail "the import made no store in the user's data folder"

wine "$installed/uninstall.exe" /S
wineserver --wait
[ ! -e "$installed" ] || fail "left behind: $(ls -A "$installed")"
[ ! -e "$entry" ] || fail "the Start-menu entry stays"
! uninstall_entry || fail "the uninstall entry stays"
[ -f "$user_store" ] || fail "the user's store was removed"
echo "installer under Wine: installed, found its store, uninstalled leaving only the user's store"
