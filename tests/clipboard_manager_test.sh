#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What the user copied outlives the program: under Xvfb with a clipboard manager running,
# generate numbers, copy them with 复制, press Esc, and read the clipboard after the program
# has ended: a million with xfce4-clipman (which copies on every change), and twenty with a
# manager that keeps only what the program hands over as it ends. Exits 77 (skipped) where
# Xvfb or a manager cannot start.
# Usage: tests/clipboard_manager_test.sh path/to/haoma
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11_session.sh"
need_tools Xvfb xdotool xclip xfce4-clipman dbus-run-session
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
private_home "$work"
start_xvfb "$work"

# The manager and the program share one D-Bus session, as on a desktop.
cat > "$work/session.sh" <<'SESSION'
set -euo pipefail
source "$HERE/x11_session.sh"
if [ "$MANAGER" = clipman ]; then
  xfce4-clipman >/dev/null 2>&1 &
  manager=$!
  sleep 2
  kill -0 "$manager" 2>/dev/null || { echo "SKIPPED: xfce4-clipman did not start"; exit 77; }
else
  /usr/bin/python3 "$HERE/handover_manager.py" >"$WORK/manager.log" 2>&1 &
  manager=$!
  for _ in $(seq 50); do grep -q ready "$WORK/manager.log" 2>/dev/null && break; sleep 0.1; done
  grep -q ready "$WORK/manager.log" || { echo "the hand-over manager did not start"; exit 1; }
fi
"$PROGRAM" >"$WORK/program.log" 2>&1 &
app=$!
find_window
seq 1380000 $((1380000 + SEGMENTS - 1)) | xclip -selection clipboard -i
sleep 0.5
at 228 332   # 粘贴 into the segment box
if [ -n "$TOTAL" ]; then
  xdotool mousemove $((X + 351)) $((Y + 36)) click --repeat 2 1; sleep 0.3   # clear 计划生成
  xdotool type "$TOTAL"; sleep 0.3
fi
at 274 401   # 全部号
at 353 400   # 全顺序数
sleep "$WAIT"
at 417 333   # 复制 the results
sleep 1
xdotool key Escape
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "Esc did not end the program"; kill "$app"; exit 1; fi
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || { echo "the program ended with status $status"; cat "$WORK/program.log"; exit 1; }
sleep 1
lines=$(timeout 30 xclip -selection clipboard -o 2>/dev/null | tr -d '\r' | grep -c '^1380[0-9]\{7\}$' || true)
kill "$manager" 2>/dev/null || true
echo "$MANAGER: lines on the clipboard after the program ended: $lines of $EXPECTED"
[ "$lines" = "$EXPECTED" ]
SESSION

run() {  # manager, segments, planned total (empty: the default), seconds to wait, lines
  MANAGER=$1 SEGMENTS=$2 TOTAL=$3 WAIT=$4 EXPECTED=$5 PROGRAM=$program WORK=$work HERE=$here \
    dbus-run-session -- bash "$work/session.sh" 2> >(grep -v -e dbus-daemon -e xfconfd >&2)
}
run clipman 100 "" 5 1000000
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || skip "python3-xlib is not installed"
run handover 1 20 2 20
