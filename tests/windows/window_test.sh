#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real window under Wine on Xvfb: it starts from the unpacked folder, a city pasted into
# the city box is queried, 全顺序数 fills the result box, and 复制 puts on the X clipboard
# exactly the numbers the Linux build prints for that city. Writes a screenshot.
#   tests/windows/window_test.sh FOLDER LINUX_CLI SCREENSHOT.png
set -euo pipefail
folder=$1
linux=$2
shot=$3
city=神农架
display=:93
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
# The real window, not the offscreen one the test suites use; and a Wine whose desktop was
# started on this display, not one left by an earlier step without any.
unset QT_QPA_PLATFORM
wineserver -k 2>/dev/null || true
wineserver --wait
until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done

(cd "$folder" && exec wine haoma.exe >/dev/null 2>&1) &
disown
window=$(timeout 120 xdotool search --sync --onlyvisible --name '^全国手机号码生成器' | head -1) ||
  true
[ -n "$window" ] || { echo "haoma.exe showed no window within two minutes" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
# Controls by their place in the window's client area (Wine draws no frame without a manager).
at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
# Waits until the clipboard, after a click at (x, y), holds `lines` lines (two minutes at most).
copy_until() {
  local x=$1 y=$2 lines=$3
  for _ in $(seq 600); do
    at "$x" "$y"
    [ "$(clipboard | wc -l)" = "$lines" ] && return 0
    sleep 0.2
  done
  echo "the clipboard never held $lines lines (it holds $(clipboard | wc -l))" >&2
  return 1
}

"$linux" query "$city" >"$work/segments"
"$linux" all --city "$city" >"$work/numbers"
printf '%s' "$city" | xclip -selection clipboard
at 60 125                 # the city box
xdotool key ctrl+v
at 55 56                  # 查号段
copy_until 131 332 "$(wc -l <"$work/segments")"   # 复制 under the segment box
clipboard | cmp - "$work/segments"
at 262 400                # 全部号
at 353 400                # 全顺序数
copy_until 417 333 "$(wc -l <"$work/numbers")"    # 复制 under the result box
clipboard | cmp - "$work/numbers"
import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$shot"
echo "window under Wine: $(wc -l <"$work/segments") segments and $(wc -l <"$work/numbers") numbers of $city copied as the Linux build prints them; $shot"
