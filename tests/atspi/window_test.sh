#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window through assistive technology: under Xvfb with an AT-SPI bus, generate two
# numbers and read the controls' names, roles and the boxes' text with pyatspi. Exits 77
# (skipped) where Xvfb, the bus or pyatspi is missing.
# Usage: tests/atspi/window_test.sh path/to/haoma
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in Xvfb xdotool xclip dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/session.sh" <<'SESSION'
set -euo pipefail
export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/run QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "SKIPPED: Xvfb did not start"; exit 77; }
export DISPLAY=:$(head -1 "$WORK/display")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$PROGRAM" >/dev/null 2>&1 &
pids+=($!)
id=
for _ in $(seq 100); do
  id=$(xdotool search --name '全国手机号码生成器' 2>/dev/null | head -1) && [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "the window did not appear"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$id")"
at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; }
seq 1380000 1380001 | xclip -selection clipboard -i
sleep 0.3
at 228 332                                            # 粘贴 into the segment box
xdotool mousemove $((X + 350)) $((Y + 36)) click --repeat 2 1; sleep 0.3   # clear 计划生成
xdotool type 2; sleep 0.3
at 274 401                                            # 全部号
at 353 400                                            # 全顺序数
sleep 1
/usr/bin/python3 "$HERE/read_window.py"
SESSION
PROGRAM=$program WORK=$work HERE=$here dbus-run-session -- bash "$work/session.sh" 2> >(grep -v dbus-daemon >&2)
