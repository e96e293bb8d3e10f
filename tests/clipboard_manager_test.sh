#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What the user copied outlives the program: under Xvfb with a clipboard manager running,
# generate a million numbers, copy them with 复制, press Esc, and read the clipboard after
# the program has ended. Exits 77 (skipped) where Xvfb or the manager cannot start.
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
cat > "$work/session.sh" <<'EOF'
set -euo pipefail
source "$HERE/x11_session.sh"
xfce4-clipman >/dev/null 2>&1 &
manager=$!
sleep 2
kill -0 "$manager" 2>/dev/null || { echo "SKIPPED: xfce4-clipman did not start"; exit 77; }
"$PROGRAM" >"$WORK/program.log" 2>&1 &
app=$!
find_window
seq 1380000 1380099 | xclip -selection clipboard -i
sleep 0.5
at 228 332   # 粘贴 into the segment box
at 274 401   # 全部号
at 353 400   # 全顺序数: a million numbers
sleep 5
at 417 333   # 复制 the results
sleep 1
xdotool key Escape
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "Esc did not end the program"; kill "$app"; exit 1; fi
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || { echo "the program ended with status $status"; cat "$WORK/program.log"; exit 1; }
sleep 1
lines=$(timeout 30 xclip -selection clipboard -o | tr -d '\r' | grep -c '^1380[0-9]\{7\}$' || true)
kill "$manager" 2>/dev/null || true
echo "lines on the clipboard after the program ended: $lines"
[ "$lines" = 1000000 ]
EOF
PROGRAM=$program WORK=$work HERE=$here dbus-run-session -- bash "$work/session.sh"
