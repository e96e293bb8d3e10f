#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# 全顺序数 in the real window under Xvfb, without and with assistive technology: the AT-SPI
# bus running and a client listening to every text change, as a screen reader does. Each run
# starts a fresh window and is timed from the click until the process falls idle; medians
# of RUNS, both ways in the same minute.
# Usage: bench/window_a11y_bench.sh [build folder, default build/dev] [numbers] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/dev}")
numbers=${2:-2000000}
runs=${3:-5}
here=$PWD/tests
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seq 1380000 $((1380000 + numbers / 10000 - 1)) > "$work/segments.txt"

cat > "$work/run.sh" <<'RUN'
set -euo pipefail
source "$HERE/x11_session.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
private_home "$WORK/$A11Y"
start_xvfb "$WORK"
if [ "$A11Y" = on ]; then
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  /usr/bin/python3 "$HERE/atspi/listen.py" &
  pids+=($!)
  sleep 1
fi
"$PROGRAM" >/dev/null 2>&1 &
app=$!
pids+=($app)
find_window
sleep 1
xclip -selection clipboard -i "$WORK/segments.txt"
at 228 332                                            # 粘贴 into the segment box
at 274 401                                            # 全部号
xdotool mousemove $((X + 340)) $((Y + 36)) click --repeat 3 1; sleep 0.2
xdotool key ctrl+a; xdotool type "$NUMBERS"; sleep 0.3
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
start=$(date +%s.%N)
xdotool mousemove $((X + 353)) $((Y + 400)) click 1   # 全顺序数
last=$(ticks); changed=$(date +%s.%N); quiet=0
while [ "$quiet" -lt 50 ]; do
  sleep 0.02
  t=$(ticks)
  if [ "$t" != "$last" ]; then last=$t; changed=$(date +%s.%N); quiet=0; else quiet=$((quiet + 1)); fi
done
echo "$changed - $start" | bc -l
RUN

median() { tr ' ' '\n' | awk 'NF' | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
off= on=
for _ in $(seq "$runs"); do
  for a11y in off on; do
    seconds=$(PROGRAM=$build/bin/haoma WORK=$work HERE=$here A11Y=$a11y NUMBERS=$numbers \
      dbus-run-session -- bash "$work/run.sh" 2>/dev/null | tail -1)
    [ "$a11y" = off ] && off+="$seconds " || on+="$seconds "
  done
done
printf '全顺序数, %d numbers, accessibility off: median %.3f s  (%s)\n' "$numbers" "$(median <<<"$off")" "$off"
printf '全顺序数, %d numbers, accessibility on:  median %.3f s  (%s)\n' "$numbers" "$(median <<<"$on")" "$on"
echo "ratio on/off: $(echo "$(median <<<"$on") / $(median <<<"$off")" | bc -l | cut -c1-5)"
