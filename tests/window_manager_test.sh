#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The frame under a window manager (openbox, under Xvfb): the outer size, frame included, is
# 605 x 483 and centred; maximising fills the screen; restoring gives 605 x 483 again.
# Exits 77 (skipped) where Xvfb, openbox or wmctrl is missing.
# Usage: tests/window_manager_test.sh path/to/haoma
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/x11_session.sh"
need_tools Xvfb openbox wmctrl xdotool xprop xwininfo
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
private_home "$work"
start_xvfb "$work"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$program" >/dev/null 2>&1 &
pids+=($!)
find_window

# Outer geometry: the client's place and size widened by _NET_FRAME_EXTENTS (l, r, t, b).
outer() {
  local extents x y w h l r t b
  extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r l r t b <<<"$extents"
  x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print $NF}')
  y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ {print $NF}')
  w=$(xwininfo -id "$id" | awk '/Width:/ {print $NF}')
  h=$(xwininfo -id "$id" | awk '/Height:/ {print $NF}')
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
settle() { sleep 1.5; }
settle
failures=0
expect() {  # what, seen, wanted
  if [ "$2" = "$3" ]; then echo "$1: $2"; else echo "$1: $2, expected $3"; failures=$((failures + 1)); fi
}
read -r x y w h <<<"$(outer)"
expect "outer size at start" "${w}x${h}" "605x483"
expect "outer place at start" "${x},${y}" "$(((1280 - 605) / 2)),$(((1024 - 483) / 2))"
wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz
settle
read -r x y w h <<<"$(outer)"
expect "outer width maximised" "$w" 1280
wmctrl -i -r "$id" -b remove,maximized_vert,maximized_horz
settle
read -r x y w h <<<"$(outer)"
expect "outer size restored" "${w}x${h}" "605x483"
[ "$failures" = 0 ]
