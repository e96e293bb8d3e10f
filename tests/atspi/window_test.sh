#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window through assistive technology: under Xvfb with an AT-SPI bus, generate two
# numbers, open the three dialogs one after another and read the controls' names, roles
# and text with pyatspi, as a screen reader would; then, with a listening client, generate
# 100,000 numbers and read the result box whole. Exits 77
# (skipped) where Xvfb, the bus or pyatspi is missing.
# Usage: tests/atspi/window_test.sh path/to/haoma
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../x11_session.sh"
need_tools Xvfb xdotool xclip dbus-run-session /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/session.sh" <<'SESSION'
set -euo pipefail
source "$HERE/../x11_session.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
private_home "$WORK"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_xvfb "$WORK"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$PROGRAM" >/dev/null 2>&1 &
pids+=($!)
find_window
seq 1380000 1380001 | xclip -selection clipboard -i
sleep 0.3
at 228 332                                            # 粘贴 into the segment box
xdotool mousemove $((X + 350)) $((Y + 36)) click --repeat 2 1; sleep 0.3   # clear 计划生成
xdotool type 2; sleep 0.3
at 274 401                                            # 全部号
at 353 400                                            # 全顺序数
sleep 1
/usr/bin/python3 "$HERE/read_window.py"
status=0
xdotool key ctrl+g; sleep 1                           # 按规则选号, the rule field focused
xdotool type AAAA; xdotool key Tab Tab Tab Tab space; sleep 0.5   # and 无4
/usr/bin/python3 "$HERE/read_window.py" 按规则选号 || status=1
xdotool key Escape; sleep 0.5
xdotool key ctrl+l; sleep 1                           # 号码归属地, the input box focused
xdotool type '13800000000 19999999999'; xdotool key Return alt+q; sleep 1
/usr/bin/python3 "$HERE/read_window.py" 号码归属地 || status=1
xdotool key Escape; sleep 0.5
xdotool mousemove $((X + 180)) $((Y + 200)) click 3; sleep 0.5   # the segment box's menu
xdotool key Up Up Return; sleep 1                    # its last entry but one
/usr/bin/python3 "$HERE/read_window.py" 按省份或区号查号段 || status=1
xdotool key Escape; sleep 0.5
# A run of 100,000 numbers with a screen reader listening: the box's text stays readable.
/usr/bin/python3 "$HERE/listen.py" &
pids+=($!)
sleep 1
seq 1380000 1380009 | xclip -selection clipboard -i
sleep 0.3
at 228 332                                            # 粘贴 into the segment box
xdotool mousemove $((X + 350)) $((Y + 36)) click --repeat 2 1; sleep 0.3
xdotool key ctrl+a; xdotool type 100000; sleep 0.3
at 353 400                                            # 全顺序数
sleep 2
/usr/bin/python3 "$HERE/read_length.py" 生成的手机号码 1300000 || status=1
exit $status
SESSION
PROGRAM=$program WORK=$work HERE=$here dbus-run-session -- bash "$work/session.sh" 2> >(grep -v dbus-daemon >&2)
