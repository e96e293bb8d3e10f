#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the window under Xvfb with a CJK font, walks through a typical use (type a city,
# pick it, query its segments, generate pretty numbers) and writes a PNG screenshot.
# Usage: tools/screenshot.sh [program] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/dev/bin/haoma}
output=${2:-docs/screenshot.png}
display=:97
command -v xdotool >/dev/null || apt-get install -y -qq xdotool >/dev/null

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
app=
trap 'kill $app "$xvfb" 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
app=$!
sleep 3
# Without a window manager the window stands centred at (209, 142); controls by their place.
left=209 top=142
at() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; sleep 0.5; }
at 60 125             # the city box
xdotool type --delay 120 lasa; sleep 0.8
at 60 152             # the first suggestion
at 55 56              # 查号段
at 273 84             # 全: tick all nine kinds
at 351 62             # 靓 号
sleep 2
import -window root -crop 605x483+$left+$top +repage "$output"
echo "wrote $output"
