#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The frame under a window manager (openbox, under Xvfb): the outer size, frame included, is
# 605 x 483 and centred; maximising fills the screen; restoring gives 605 x 483 again.
# Exits 77 (skipped) where Xvfb, openbox or wmctrl is missing.
# Usage: tests/window_manager_test.sh path/to/haoma
set -euo pipefail
program=$(realpath "$1")
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in Xvfb openbox wmctrl xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
work=$(mktemp -d)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || skip "Xvfb did not start"
export DISPLAY=:$(head -1 "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$program" >/dev/null 2>&1 &
pids+=($!)
id=
for _ in $(seq 100); do
  id=$(xdotool search --name '全国手机号码生成器' 2>/dev/null | head -1) && [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "the window did not appear"; exit 1; }

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
