#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the window under Xvfb with a CJK font, walks through a typical use (type a city,
# pick it, query its segments, generate pretty numbers) and writes a PNG screenshot of the
# window, or of one of its dialogs after a typical use of it.
# Usage: tools/screenshot.sh [program] [output.png] [rule|where|region]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/dev/bin/haoma}
output=${2:-docs/screenshot.png}
dialog=${3:-}
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
# A dialog by its title: its own window, captured alone.
shoot_dialog() {
    local id
    id=$(xdotool search --sync --name "$1" | head -1)
    sleep 1
    import -window "$id" "$output"
}
case $dialog in
    rule)
        xdotool key ctrl+g; sleep 1
        xdotool type --delay 80 '*[^4]88,AAAA'; sleep 0.3
        xdotool key Tab Tab Tab Tab space; sleep 0.5   # 无4
        shoot_dialog 按规则选号 ;;
    where)
        xdotool key ctrl+l; sleep 1
        printf '13800138000\n+86 139-1234-5678\n15912345678, 19999999999\n' | xclip -selection clipboard
        xdotool key ctrl+v; sleep 0.3
        xdotool key alt+q; sleep 1
        shoot_dialog 号码归属地 ;;
    region)
        at 180 200            # the segment box
        xdotool click 3; sleep 0.5
        xdotool key Up Up Return; sleep 1
        xdotool key alt+s; xdotool type --delay 120 '西藏'; sleep 0.3
        xdotool key Return; sleep 1
        shoot_dialog 按省份或区号查号段 ;;
    *)
        import -window root -crop 605x483+$left+$top +repage "$output" ;;
esac
echo "wrote $output"
