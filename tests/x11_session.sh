# SPDX-License-Identifier: MIT
# Shared by the tests that drive the real window under Xvfb; source it. A test that cannot
# set up its display exits 77, which CTest reports as skipped.

skip() { echo "SKIPPED: $*"; exit 77; }

need_tools() {
  local tool
  for tool in "$@"; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
}

# A private home and runtime folder under $1, and the X11 platform.
private_home() {
  export HOME=$1/home XDG_RUNTIME_DIR=$1/run QT_QPA_PLATFORM=xcb
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# Starts Xvfb (1280 x 1024) on a free display and exports DISPLAY; its process id is added
# to the array `pids`.
start_xvfb() {
  local work=$1
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || skip "Xvfb did not start"
  DISPLAY=:$(head -1 "$work/display")
  export DISPLAY
}

# Waits for the main window; sets `id`, and X and Y, its client area's place on the screen.
find_window() {
  id=
  for _ in $(seq 100); do
    id=$(xdotool search --name '全国手机号码生成器' 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "the window did not appear"; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
}

# Clicks a point of the client area (the frame of the controls starts at 8,8).
at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; }
